// The one-pass delete: a rewrite that looks a name up while it copies the
// file, and takes back what it wrote when lines before the "*PageSize"
// line hold the identifier. Whatever the file and however its reads fall,
// the result must be what looking the name up first and then editing
// line by line gives, and the file must be replaced exactly when that
// changes something.
//
// Input: mode (bit 0: an add request's pass, which enters an entry below
// "[CustomTape]" and appends a line, otherwise a delete's; bit 1: refuse
// an identifier to pass over that names the format twice), read pattern,
// then the name, a newline, the identifier to pass over, a newline, and
// the file.

#include <fcntl.h>
#include <stddef.h>
#include <stdint.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "format_pass_model.h"
#include "fuzz_check.h"
#include "memory_file.h"
#include "store/format_rewrite.h"

namespace {

const int kDataFd = 3;
const int kTempFd = 4;

// The data file of MemoryFile, with a temporary file beside it that takes
// writes, and a rename that puts it in place.
class MemoryRewrite : public MemoryFile {
 public:
  MemoryRewrite(std::string_view content, uint8_t pattern)
      : MemoryFile(content, pattern) {}

  int open(const char* path, int flags, mode_t mode) override {
    if ((flags & O_ACCMODE) == O_RDONLY)
      return MemoryFile::open(path, flags, mode);
    FUZZ_CHECK(!temp_open_);
    temp_open_ = true;
    temp_.clear();
    at_ = 0;
    return kTempFd;
  }
  ssize_t write(int fd, const void* buffer, size_t size) override {
    FUZZ_CHECK(fd == kTempFd && temp_open_);
    size_t count = std::min<size_t>(size, 1 + size % 113);
    if (temp_.size() < at_ + count)
      temp_.resize(at_ + count);
    temp_.replace(at_, count, static_cast<const char*>(buffer), count);
    at_ += count;
    return static_cast<ssize_t>(count);
  }
  off_t lseek(int fd, off_t offset, int whence) override {
    if (fd == kDataFd)
      return MemoryFile::lseek(fd, offset, whence);
    FUZZ_CHECK(whence == SEEK_SET && offset >= 0);
    at_ = offset;
    return offset;
  }
  int ftruncate(int fd, off_t length) override {
    FUZZ_CHECK(fd == kTempFd && length >= 0);
    temp_.resize(length);
    return 0;
  }
  int fsync(int) override { return 0; }
  int fchmod(int, mode_t) override { return 0; }
  int close(int fd) override {
    if (fd == kTempFd)
      temp_open_ = false;
    return 0;
  }
  int rename(const char*, const char*) override {
    FUZZ_CHECK(!temp_open_);
    replaced_ = true;
    return 0;
  }
  int unlink(const char*) override { return 0; }

  const std::string& temp() const { return temp_; }
  bool replaced() const { return replaced_; }

 private:
  std::string temp_;
  size_t at_ = 0;
  bool temp_open_ = false;
  bool replaced_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
  size_t name_end = input.find('\n');
  if (name_end == std::string_view::npos)
    return 0;
  size_t skip_end = input.find('\n', name_end + 1);
  if (skip_end == std::string_view::npos)
    return 0;
  FormatPass pass;
  pass.name = std::string(input.substr(0, name_end));
  pass.skip_id = std::string(input.substr(name_end + 1,
                                          skip_end - name_end - 1));
  std::string_view content = input.substr(skip_end + 1);
  if (data[0] & 1) {
    pass.edit.kind = LineEdit::kInsertAfter;
    pass.edit.needle = "[CustomTape]";
    pass.edit.text = "VtL_vtS12mm__070A03271A2B/" + pass.name + "\n";
    pass.trailer = "appended\n";
  }
  pass.refuse_taken_id = (data[0] & 2) != 0;

  MemoryRewrite files(content, data[1]);
  std::string id;
  int error = 0;
  int found = rewrite_without_format(&files, "file", pass, &id, &error);
  if (pass.refuse_taken_id && expected_skipped(content, pass) >= 2) {
    FUZZ_CHECK(found == 2);
    FUZZ_CHECK(!files.replaced());
    return 0;
  }
  std::string expected_id;
  std::string expected = expected_pass_output(content, pass, &expected_id);
  FUZZ_CHECK(found == (expected_id.empty() ? 0 : 1));
  FUZZ_CHECK(id == expected_id);
  bool changes = found == 1 || pass.edit.kind != LineEdit::kCopy;
  FUZZ_CHECK(files.replaced() == changes);
  if (files.replaced())
    FUZZ_CHECK(files.temp() == expected);
  return 0;
}
