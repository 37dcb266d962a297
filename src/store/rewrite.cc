#include "store/rewrite.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include "store/line_reader.h"
#include "store/paths.h"

namespace {

const size_t kOutputBuffer = 128 * 1024;
const size_t kDirectWrite = 16 * 1024;
const mode_t kDataFileMode = 0666;  // other parts of the driver write them

// Collects small pieces into large writes; large pieces go straight out.
class OutputFile {
 public:
  OutputFile(FileOps* files, int fd) : files_(files), fd_(fd) {
    pending_.reserve(kOutputBuffer);
  }

  bool put(std::string_view piece) {
    if (piece.empty())
      return true;
    last_ = static_cast<unsigned char>(piece.back());
    // A long run of unchanged lines is written from where it lies; copying
    // it first would add a pass over every byte of the file.
    if (piece.size() >= kDirectWrite)
      return flush() && write_all(piece);
    if (pending_.size() + piece.size() > kOutputBuffer && !flush())
      return false;
    pending_.append(piece.data(), piece.size());
    return true;
  }

  bool flush() {
    bool ok = write_all(pending_);
    pending_.clear();
    return ok;
  }

  // The last byte put, or -1 when nothing was (a NUL is a byte too).
  int last() const { return last_; }
  int error() const { return error_; }

 private:
  bool write_all(std::string_view bytes) {
    while (!bytes.empty()) {
      ssize_t wrote = files_->write(fd_, bytes.data(), bytes.size());
      if (wrote < 0 && errno == EINTR)
        continue;
      if (wrote <= 0) {
        // A write that makes no progress is a full disk.
        error_ = wrote < 0 ? errno : ENOSPC;
        return false;
      }
      bytes.remove_prefix(wrote);
    }
    return true;
  }

  FileOps* files_;
  int fd_;
  std::string pending_;
  int last_ = -1;
  int error_ = 0;
};

// Copies the data file through |edit| and |trailer| into |out|.
bool write_content(FileOps* files, int data_fd, const LineEdit& edit,
                   const std::string& trailer, OutputFile* out, int* error) {
  LineReader reader(files, data_fd);
  PieceSink sink = [out](std::string_view piece) { return out->put(piece); };
  std::string_view block;
  int status;
  while ((status = reader.next_block(&block, error)) > 0) {
    if (!edit_block(edit, block, sink)) {
      *error = out->error();
      return false;
    }
  }
  if (status < 0)
    return false;
  // Appended lines start on a line of their own.
  if (!trailer.empty() && out->last() != -1 && out->last() != '\n' &&
      !out->put("\n")) {
    *error = out->error();
    return false;
  }
  if (!out->put(trailer) || !out->flush()) {
    *error = out->error();
    return false;
  }
  return true;
}

}  // namespace

int rewrite_file(FileOps* files, const std::string& path,
                 const LineEdit& edit, const std::string& trailer,
                 int* error) {
  std::string temp_path = temp_path_for(path);
  int data_fd = files->open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (data_fd < 0) {
    *error = errno;
    return -1;
  }
  // A left-over or planted entry (possibly a link elsewhere) is removed,
  // never followed, and the new file is created exclusively.
  int temp_fd = -1;
  if (files->unlink(temp_path.c_str()) == 0 || errno == ENOENT) {
    temp_fd = files->open(temp_path.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          kDataFileMode);
  }
  if (temp_fd < 0) {
    *error = errno;
    files->close(data_fd);
    return -1;
  }

  OutputFile out(files, temp_fd);
  bool ok = write_content(files, data_fd, edit, trailer, &out, error);
  // The mode is set explicitly so that the umask cannot narrow it.
  if (ok && (files->fchmod(temp_fd, kDataFileMode) != 0 ||
             files->fsync(temp_fd) != 0)) {
    *error = errno;
    ok = false;
  }
  if (files->close(temp_fd) != 0 && ok) {
    *error = errno;
    ok = false;
  }
  files->close(data_fd);
  if (ok && files->rename(temp_path.c_str(), path.c_str()) != 0) {
    *error = errno;
    ok = false;
  }
  if (!ok) {
    files->unlink(temp_path.c_str());
    return -1;
  }
  return 0;
}
