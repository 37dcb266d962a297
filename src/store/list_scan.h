// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LIST_SCAN_H_
#define VTMEDIA_STORE_LIST_SCAN_H_

#include <stdint.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The files a listed identifier may stand in, as bits.
enum ListedFile : uint8_t {
  kInFunction = 1,
  kInMediaInfo = 2,
  kInPrintArea = 4,
  kInAll = 7,
};

// A format a "*PageSize" line names, and what the files hold of it.
struct ScannedFormat {
  std::string id;
  std::string name;       // of the first "*PageSize" line naming |id|
  uint8_t stands_in = 0;  // ListedFile bits
  // Of its first well-formed size line in the media-information file,
  // "ID/NAME:<TAB>ACROSS<TAB>ALONG", where it has one.
  bool sized = false;
  long long across = 0;
  long long along = 0;
};

// What the listing gathers from blocks of whole lines of the data files,
// in two passes. The first keeps the formats "*PageSize" lines name and
// nothing else, so that what is kept grows with the formats, not with
// whatever else anybody wrote into the files; the second looks for those
// identifiers only. Each line is delimited once, and every search moves on
// by what it consumed, so the work is linear in the bytes scanned.
class FormatScan {
 public:
  // First pass, over the media-information file and then the function
  // file: notes each format a "*PageSize" line of |block| names, once per
  // identifier, in the order first named.
  void note_names(std::string_view block);
  // Second pass, over each file whose bit is |file|: notes that a named
  // identifier stands whole in it, and, with |sizes|, reads the first
  // well-formed size line of each from the lines it begins.
  void note_places(std::string_view block, ListedFile file, bool sizes);

  // The named formats, in the order first named.
  const std::vector<ScannedFormat>& formats() const { return formats_; }
  // How many bytes the scans have looked at so far, each look counted:
  // the measure of their work that the tests hold against the input.
  uint64_t bytes_examined() const { return examined_; }

 private:
  // The end of the line of |block| that starts at |at|: past its
  // newline, or the end of the block.
  size_t line_end(std::string_view block, size_t at);
  // The end of the identifier run of |block| that reaches |at|.
  size_t run_end(std::string_view block, size_t at);
  // The first identifier marker of |block| from |from| on, or npos.
  size_t next_marker(std::string_view block, size_t from);
  // The named format |id| is, or nullptr.
  ScannedFormat* named(std::string_view id);

  std::vector<ScannedFormat> formats_;
  std::map<std::string, size_t, std::less<>> index_;  // into formats_
  uint64_t examined_ = 0;
};

#endif  // VTMEDIA_STORE_LIST_SCAN_H_
