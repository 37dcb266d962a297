// SPDX-License-Identifier: GPL-2.0-or-later
// Identifier lookup: the input is a name, a newline, and the lines of a
// file. Whatever the lines, an identifier reported as found must be real
// text of its line, in front of "/" and the name; and looking the name up
// in the whole file, read however the reads fall, must give the first
// line that matches on its own, in both files a delete looks in.

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "memory_file.h"
#include "names_format.h"
#include "store/format_id.h"
#include "store/lookup.h"
#include "store/status.h"

namespace {

const size_t kMaxIdLength = 99;

// The invariants of a match of |name| in |line| that yielded |id|.
void check_match(std::string_view line, std::string_view name,
                 const std::string& id) {
  // Only the part before a NUL byte is the line's text.
  std::string_view text = line.substr(0, line.find('\0'));
  FUZZ_CHECK(text.compare(0, 9, "*PageSize") == 0);
  FUZZ_CHECK(id.compare(0, 3, kFormatIdMarker) == 0);
  FUZZ_CHECK(id.size() <= kMaxIdLength);
  FUZZ_CHECK(id.find('/') == std::string::npos);
  // The identifier is the first one in the line, followed by the name.
  size_t at = text.find(kFormatIdMarker);
  FUZZ_CHECK(text.substr(at, id.size()) == id);
  size_t name_at = at + id.size() + 1;
  FUZZ_CHECK(text.substr(at + id.size(), 1) == "/");
  FUZZ_CHECK(text.substr(name_at, name.size()) == name);

  // What follows the name is not looked at.
  std::string again;
  FUZZ_CHECK(names_format(text.substr(0, name_at + name.size()), name,
                               &again));
  FUZZ_CHECK(again == id);
  std::string longer = std::string(text.substr(0, name_at + name.size())) +
      "\t" + std::string(line);
  FUZZ_CHECK(names_format(longer, name, &again));
  FUZZ_CHECK(again == id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t newline = input.find('\n');
  if (newline == std::string_view::npos)
    return 0;
  std::string name(input.substr(0, newline));
  std::string_view file = input.substr(newline + 1);

  bool expected = false;
  std::string expected_id;
  std::string_view rest = file;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    end = end == std::string_view::npos ? rest.size() : end + 1;
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end);
    std::string id;
    if (names_format(line, name, &id)) {
      check_match(line, name, id);
      if (!expected) {
        expected = true;
        expected_id = id;
      }
    }
  }

  // The function and media-information files both hold the input.
  MemoryFile memory(file, static_cast<uint8_t>(size * 37));
  StoreEnv env;
  env.files = &memory;
  NamedFormat found;
  StoreFailure failure;
  ModelDriver driver{ env, "fuzz" };
  // Never locked: the memory file stands in for every file.
  Request request(driver, &failure);
  int status = find_format_id(request, name, &found);
  FUZZ_CHECK(status == (expected ? kStoreDone : kStoreNotFound));
  FUZZ_CHECK(found.function_id == expected_id);
  FUZZ_CHECK(found.media_id == expected_id);
  return 0;
}
