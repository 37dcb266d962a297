// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/rewrite.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <string_view>

#include "store/driver.h"
#include "store/line_reader.h"

namespace {

// Other parts of the driver, not running as root, write these files too.
const mode_t kDataFileMode = 0666;

bool unsupported(int error) {
  return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

// The temporary file of one rewrite, in the manner of a lock file: it
// either takes the data file's place on commit() or is removed when this
// goes, so every failure has the one way out. Each call returns false on
// failure, which it describes as the data file's.
class TempFile {
 public:
  TempFile(FileOps* files, const FileAt& data_file, StoreFailure* failure)
      : files_(files), data_file_(data_file),
        name_(temp_path_for(data_file.name)), failure_(failure) {}
  ~TempFile() {
    if (fd_ >= 0)
      files_->close(fd_);
    if (created_)
      files_->unlink(data_file_.dir, name_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // The run cleared the path under its lock, so anything there now is
  // another's: that is a failure, and a link there is never followed.
  bool create() {
    fd_ = files_->open(data_file_.dir, name_.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       kDataFileMode);
    if (fd_ < 0)
      return fail(errno);
    created_ = true;
    return true;
  }

  bool put(std::string_view bytes) {
    while (!bytes.empty()) {
      ssize_t wrote = files_->write(fd_, bytes.data(), bytes.size());
      if (wrote < 0 && errno == EINTR)
        continue;
      // A write that makes no progress is a full disk.
      if (wrote <= 0)
        return fail(wrote < 0 ? errno : ENOSPC);
      bytes.remove_prefix(wrote);
    }
    return true;
  }

  // Puts the file in place of the data file, open as |data_fd| of status
  // |owner|.
  bool commit(int data_fd, const struct stat& owner) {
    // Root rewrites files that the driver's other users own; they must
    // stay theirs. Anybody else can only keep files that are their own.
    if (files_->fchown(fd_, owner.st_uid, owner.st_gid) != 0 &&
        (errno != EPERM || geteuid() == 0))
      return fail(errno);
    // A site's ACL on a data file must come along, or the rewrite fails;
    // other attributes (an SELinux label among them) come where this run
    // may set them. None is needed where the file system has none.
    if (files_->copy_attributes(data_fd, fd_, true) != 0 &&
        !unsupported(errno))
      return fail(errno);
    files_->copy_attributes(data_fd, fd_, false);
    if (files_->fchmod(fd_, kDataFileMode) != 0 || files_->fsync(fd_) != 0)
      return fail(errno);
    int fd = fd_;
    fd_ = -1;
    if (files_->close(fd) != 0)
      return fail(errno);
    if (files_->rename(data_file_.dir, name_.c_str(),
                       data_file_.name.c_str()) != 0)
      return fail(errno);
    created_ = false;
    return true;
  }

 private:
  bool fail(int error) {
    fail_at(data_file_.path, error, failure_);
    return false;
  }

  FileOps* files_;
  const FileAt& data_file_;
  std::string name_;
  StoreFailure* failure_;
  int fd_ = -1;
  bool created_ = false;
};

}  // namespace

StoreStatus rewrite_file(FileOps* files, const FileAt& file,
                         const LineEdit& edit, StoreFailure* failure) {
  // An empty needle would select every place of every line.
  if (edit.kind != LineEdit::kAppend && edit.needle.empty())
    return fail_at(file.path, EINVAL, failure);
  LineReader reader(files, file);
  StoreStatus status = reader.open(failure);
  if (status != kStoreDone)
    return status;
  TempFile temp(files, file, failure);
  if (!temp.create())
    return kStoreFileFailed;
  PieceSink sink = [&temp](std::string_view piece) { return temp.put(piece); };
  bool at_line_start = true;  // what was read so far ends a line
  std::string_view block;
  while ((status = reader.next_block(&block, failure)) == kStoreDone &&
         !block.empty()) {
    if (!edit_block(edit, block, sink))
      return kStoreFileFailed;
    at_line_start = block.back() == '\n';
  }
  if (status != kStoreDone)
    return status;
  if (edit.kind == LineEdit::kAppend &&
      !((at_line_start || temp.put("\n")) && temp.put(edit.text)))
    return kStoreFileFailed;
  return temp.commit(reader.fd(), reader.info()) ? kStoreDone
                                                 : kStoreFileFailed;
}
