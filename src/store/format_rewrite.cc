#include "store/format_rewrite.h"

#include <errno.h>
#include <string.h>
#include <unistd.h>

#include "store/format_id.h"
#include "store/line_reader.h"
#include "store/rewrite.h"

namespace {

// Where the lines that could hold the identifier begin, in the data file
// and in the output, and the output's last byte there.
struct Mark {
  bool set = false;
  off_t in = 0;
  off_t out = 0;
  int last = -1;
};

// What a pass found out.
struct PassOutcome {
  bool found = false;
  int skipped = 0;  // lines naming the format under |skip_id|, passed over
};

// The content writer of rewrite_without_format.
int write_without_format(FileOps* files, int data_fd, const FormatPass& pass,
                         OutputFile* out, std::string* id,
                         PassOutcome* outcome, int* error) {
  // A pass that changes the file only when the name is there writes
  // nothing before it is found: a name that is not there then costs no
  // temporary file, and so no space or write access.
  const bool deferred = pass.edit.kind == LineEdit::kCopy &&
      pass.trailer.empty();
  LineReader reader(files, data_fd);
  PieceSink sink = [out](std::string_view piece) { return out->put(piece); };
  auto edit = [&](const LineEdit& how, const char* from, const char* to) {
    if (deferred || from == to)
      return true;
    if (!edit_block(how, std::string_view(from, to - from), sink)) {
      *error = out->error();
      return false;
    }
    return true;
  };
  LineEdit without = pass.edit;
  // Edits the file again from |offset| on, the identifier now known.
  auto edit_again_from = [&](off_t offset) {
    if (files->lseek(data_fd, offset, SEEK_SET) != offset) {
      *error = errno;
      return -1;
    }
    LineReader rest(files, data_fd);
    return copy_edited(&rest, without, pass.trailer, out, error) ? 1 : -1;
  };

  Mark mark;
  off_t block_offset = 0;
  std::string_view block;
  int status;
  while ((status = reader.next_block(&block, error)) > 0) {
    const char* begin = block.data();
    const char* end = begin + block.size();
    const char* marked;
    int skipped;
    const char* match = find_format_line(block, pass.name, pass.skip_id, id,
                                         &marked, &skipped);
    outcome->skipped += skipped;
    const char* before = match ? match : end;
    if (!mark.set && marked != nullptr && marked < before) {
      if (!edit(pass.edit, begin, marked))
        return -1;
      mark.set = true;
      mark.in = block_offset + (marked - begin);
      mark.out = out->offset();
      mark.last = out->last();
      begin = marked;
    }
    if (!edit(pass.edit, begin, before))
      return -1;
    if (match == nullptr) {
      block_offset += block.size();
      continue;
    }
    if (pass.refuse_taken_id && outcome->skipped >= 2)
      return 0;

    outcome->found = true;
    without.drop = *id;
    if (deferred) {
      // Nothing before the first line that could hold the identifier
      // changes: the kernel copies it.
      off_t from = mark.set ? mark.in : block_offset + (match - begin);
      if (!out->copy_from(data_fd, 0, from, '\n')) {
        *error = out->error();
        return -1;
      }
      return edit_again_from(from);
    }
    if (!mark.set) {
      // Nothing before this line can hold the identifier.
      return edit(without, match, end) &&
          copy_edited(&reader, without, pass.trailer, out, error) ? 1 : -1;
    }
    // Lines already copied may hold it: take back the output from the
    // first of them and go over the rest of the file again.
    if (!out->rewind(mark.out, mark.last)) {
      *error = out->error();
      return -1;
    }
    return edit_again_from(mark.in);
  }
  if (status < 0)
    return -1;
  if ((pass.refuse_taken_id && outcome->skipped >= 2) || deferred)
    return 0;
  // The reader is spent; this appends the trailer.
  return copy_edited(&reader, pass.edit, pass.trailer, out, error) ? 1 : -1;
}

}  // namespace

int rewrite_without_format(FileOps* files, const std::string& path,
                           const FormatPass& pass, std::string* id,
                           int* error) {
  PassOutcome outcome;
  bool deferred = pass.edit.kind == LineEdit::kCopy && pass.trailer.empty();
  int status = rewrite_file_with(files, path,
      [&](int data_fd, OutputFile* out, int* write_error) {
        return write_without_format(files, data_fd, pass, out, id, &outcome,
                                    write_error);
      }, deferred, error);
  if (status < 0)
    return -1;
  if (pass.refuse_taken_id && outcome.skipped >= 2)
    return 2;
  if (!outcome.found)
    id->clear();  // the lookup may have passed over |skip_id|
  return outcome.found ? 1 : 0;
}
