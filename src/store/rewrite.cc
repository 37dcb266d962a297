#include "store/rewrite.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include "store/line_reader.h"
#include "store/paths.h"

namespace {

const mode_t kDataFileMode = 0666;  // other parts of the driver write them

}  // namespace

bool copy_edited(LineReader* reader, const LineEdit& edit,
                 const std::string& trailer, OutputFile* out, int* error) {
  PieceSink sink = [out](std::string_view piece) { return out->put(piece); };
  std::string_view block;
  int status;
  while ((status = reader->next_block(&block, error)) > 0) {
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
  if (!out->put(trailer)) {
    *error = out->error();
    return false;
  }
  return true;
}

int rewrite_file(FileOps* files, const std::string& path,
                 const LineEdit& edit, const std::string& trailer,
                 int* error) {
  int status = rewrite_file_with(files, path,
      [&](int data_fd, OutputFile* out, int* write_error) {
        LineReader reader(files, data_fd);
        return copy_edited(&reader, edit, trailer, out, write_error) ? 1 : -1;
      }, false, error);
  return status < 0 ? -1 : 0;
}

int rewrite_file_with(FileOps* files, const std::string& path,
                      const ContentWriter& write, bool absent_ok,
                      int* error) {
  std::string temp_path = temp_path_for(path);
  int data_fd = files->open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (data_fd < 0) {
    if (absent_ok && errno == ENOENT)
      return 0;
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
  int status = write(data_fd, &out, error);
  if (status == 1 && !out.flush()) {
    *error = out.error();
    status = -1;
  }
  // The mode is set explicitly so that the umask cannot narrow it.
  if (status == 1 && (files->fchmod(temp_fd, kDataFileMode) != 0 ||
                      files->fsync(temp_fd) != 0)) {
    *error = errno;
    status = -1;
  }
  if (files->close(temp_fd) != 0 && status == 1) {
    *error = errno;
    status = -1;
  }
  files->close(data_fd);
  if (status == 1 && files->rename(temp_path.c_str(), path.c_str()) != 0) {
    *error = errno;
    status = -1;
  }
  if (status != 1)
    files->unlink(temp_path.c_str());
  return status;
}
