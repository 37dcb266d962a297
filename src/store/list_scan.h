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

// What a scan of a block notes, as bits.
enum ScanFor : unsigned {
  kNames = 1,   // the formats "*PageSize" lines name
  kPlaces = 2,  // where the formats named so far stand whole
  kSizes = 4,   // their first well-formed size lines
};

// A format a "*PageSize" line names, and what the files hold of it.
struct ScannedFormat {
  std::string id;
  // Of the first "*PageSize" line naming |id| in the media-information
  // file, or else in the function file.
  std::string name;
  uint8_t stands_in = 0;  // ListedFile bits
  // Of its first well-formed size line in the media-information file,
  // "ID/NAME:<TAB>ACROSS<TAB>ALONG", where it has one.
  bool sized = false;
  long long across = 0;
  long long along = 0;
};

// What the listing gathers from blocks of whole lines of the data files:
// the function file scanned for names first, then the media-information
// file for names, places and sizes, then the imageable-area file for
// places. Only the formats "*PageSize" lines name are kept, so that what
// is kept grows with the formats, not with whatever else anybody wrote
// into the files. A block is searched once for the identifier marker,
// every search moves on by what it consumed, and a line is delimited only
// where it may name a format, once; so the work is linear in the bytes
// scanned, however many identifiers a line holds.
class FormatScan {
 public:
  // Notes in |block|, whole lines of the file whose bit is |file|, what
  // |what| (ScanFor bits) asks for. A format stands whole on the line that
  // names it.
  void scan(std::string_view block, ListedFile file, unsigned what);

  // Whether the media-information file names formats that the function
  // file does not. Their lines that came before their name there, and
  // theirs in the function file, were passed over: after
  // forget_late_sizes(), the function file is to be scanned again for
  // places and the media-information file for sizes.
  bool named_late() const { return !late_.empty(); }
  void forget_late_sizes();

  // The named formats, those the media-information file names in its
  // order, then those of the function file alone in its order.
  std::vector<const ScannedFormat*> formats() const;
  // How many bytes the scans have looked at so far, each look counted:
  // the measure of their work that the tests hold against the input.
  uint64_t bytes_examined() const { return examined_; }

 private:
  // The first identifier marker of |block| from |from| on, or npos.
  size_t next_marker(std::string_view block, size_t from);
  // The end of the identifier run of |block| that reaches |at|.
  size_t run_end(std::string_view block, size_t at);
  // Where the line holding |at| starts, |line| being the start of a line
  // at or before |at| and no newline lying before |seen|.
  size_t line_start(std::string_view block, size_t seen, size_t at,
                    size_t line);
  // Reads the line of |block| from |line| for a format it names, whose
  // identifier would begin at |hit| and end at |end|.
  void note_name(std::string_view block, size_t line, size_t hit, size_t end,
                 ListedFile file);
  // Notes the places and sizes |what| asks for of the identifiers that end
  // where the run from the marker at |hit| does, at |end|.
  void note_run(std::string_view block, size_t hit, size_t end,
                ListedFile file, unsigned what);
  // The named format |id| is, or nullptr.
  ScannedFormat* named(std::string_view id);

  std::vector<ScannedFormat> formats_;  // in the order first named
  std::map<std::string, size_t, std::less<>> index_;  // into formats_
  std::vector<bool> in_media_order_;  // by formats_, whether in the next
  std::vector<size_t> media_order_;  // those the media-information file names
  std::vector<size_t> late_;         // those it alone names
  uint64_t examined_ = 0;
};

#endif  // VTMEDIA_STORE_LIST_SCAN_H_
