#include "store/rewrite.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include "store/line_reader.h"
#include "store/paths.h"

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
  int data_fd = files->open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (data_fd < 0) {
    if (absent_ok && errno == ENOENT)
      return 0;
    *error = errno;
    return -1;
  }

  std::string temp_path = temp_path_for(path);
  OutputFile out(files, temp_path);
  int status = write(data_fd, &out, error);
  // A file that comes out empty is created here.
  if (status == 1 && !out.seal()) {
    *error = out.error();
    status = -1;
  }
  bool created = out.opened();
  if (!out.close() && status == 1) {
    *error = out.error();
    status = -1;
  }
  files->close(data_fd);
  if (status == 1 && files->rename(temp_path.c_str(), path.c_str()) != 0) {
    *error = errno;
    status = -1;
  }
  if (status != 1 && created)
    files->unlink(temp_path.c_str());
  return status;
}
