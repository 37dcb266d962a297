// SPDX-License-Identifier: GPL-2.0-or-later
// What the listing gives beyond what --list prints: the dots across of a
// format's size line and whether it is the driver's current media.
#include "store/list.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

const std::string kId = "VtL_vtS12mm__050A0641A2B3";
const std::string kPageSize = "*PageSize " + kId + "/Shelf: x\n";
const std::string kSizes = kId + "/Shelf:\t70\t707\n";
const char kMissing[] = "(missing)";

// Lists a tape model's tree whose media-information and resource files
// hold |media| and |rc| (kMissing: none; "/": a directory), the format
// whole in the others; a size line in the function file counts for
// nothing.
StoreStatus list(const std::string& media, const std::string& rc,
                 std::vector<ListedFormat>* listed, StoreFailure* failure) {
  Driver tree(kTape, "txr580");
  tree.lay({ kPageSize + "[CustomTape]\n" + kId + "/Shelf\n" + kId +
                 "/Shelf:\t99\t999\n",
             media, rc, kId + ":\t0.00\n" });
  if (rc == kMissing || rc == "/")
    unlink(tree.files.resource.c_str());
  if (rc == "/")
    mkdir(tree.files.resource.c_str(), 0755);
  FormatSettings settings;
  settings.model_type = kLastRollLabelType + 1;
  settings.model_code = "txr580";
  return list_formats(settings, tree.store_env(),
                      [&](const ListedFormat& format) {
    listed->push_back(format);
  }, failure);
}

}  // namespace

TEST(ListFormats, GivesTheFirstWellFormedSizeLineAndTheCurrentMedia) {
  const struct {
    std::string media, rc;
    long long across_dots;
    bool selected;
  } cases[] = {
    { kPageSize + kSizes, "Copies=1\nMedia=" + kId + "\n", 70, true },
    // Only the whole of a size line counts, the first that is whole.
    { kPageSize + kId + "/Shelf:\t71\t707junk\n" + kSizes, "", 70, false },
    { kPageSize + kId + "/Shelf:\t71\tjunk\n" + kSizes, "", 70, false },
    { kPageSize + kId + "/Shelf:\t70\t707 \n", "", -1, false },
    { kPageSize + kId + "/Shel:\t70\t707\n", "", -1, false },
    // The head of a longer identifier is not the format's.
    { kPageSize, "Media=" + kId + "F\n", -1, false },
    { kPageSize, kMissing, -1, false },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.media + " / " + c.rc);
    std::vector<ListedFormat> listed;
    StoreFailure failure;
    ASSERT_EQ(kStoreDone, list(c.media, c.rc, &listed, &failure));
    ASSERT_EQ(1u, listed.size());
    EXPECT_EQ(c.across_dots, listed[0].across_dots);
    EXPECT_EQ(c.selected, listed[0].selected);
  }
}

TEST(ListFormats, UnreadableResourceFileFailsTheListing) {
  std::vector<ListedFormat> listed;
  StoreFailure failure;
  EXPECT_EQ(kStoreFileFailed, list(kPageSize, "/", &listed, &failure));
  EXPECT_EQ(EISDIR, failure.error);
  EXPECT_NE(std::string::npos, failure.path.find("/vttxr580rc"));
  EXPECT_TRUE(listed.empty());
}
