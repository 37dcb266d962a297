// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/lookup.h"

#include <errno.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "nul_byte.h"

namespace {

const char kMissing[] = "(missing)";

// Looks |name| up in a tape model's tree whose function and
// media-information files hold |func| and |media| (kMissing: none).
StoreStatus look_up(const std::string& func, const std::string& media,
                    const std::string& name, NamedFormat* found,
                    StoreFailure* failure, FileOps* files = real_file_ops()) {
  Driver tree(kTape, "txr580");
  tree.lay({ func, media, "", "" });
  for (int file : { 0, 1 }) {
    if (tree.contents()[file] == kMissing)
      unlink(tree.files.all()[file].c_str());
  }
  ModelDriver driver{ tree.store_env(files), "txr580" };
  Request request(driver, failure);
  StoreStatus status = request.lock();
  return status == kStoreDone ? find_format_id(request, name, found)
                              : status;
}

}  // namespace

TEST(FindFormatId, TakesTheFirstMatchingLineOfEachFile) {
  const std::string func =
      "[PageSize]\n"
      "VtL_vtS12mm__070A03271111/Shop 12\n"
      "*PageSize VtL_vtS12mm__080A03271111/Shop 12: wrong length\n" +
      std::string(200000, 'x') + "\n" +
      "*PageSize " + kNul + "VtL_vtS12mm__070A03271111/Shop 12\n" +
      "*PageSize VtL_vtS12mm__070A03272222/Shop 12: first\n"
      "*PageSize VtL_vtS12mm__070A03273333/Shop 12: second\n";
  // The last line may lack its newline.
  const std::string media = "x\n*PageSize VtL_vtS12mm__070A03274444/Shop 12";
  NamedFormat found;
  StoreFailure failure;
  EXPECT_EQ(kStoreDone, look_up(func, media, "Shop 12", &found, &failure));
  EXPECT_EQ("VtL_vtS12mm__070A03272222", found.function_id);
  EXPECT_EQ("VtL_vtS12mm__070A03274444", found.media_id);
}

TEST(FindFormatId, NameInEitherFileIsFoundButAMissingFunctionFileHasNone) {
  const std::string kId = kAddressLabelId;
  const std::string kNames = "*PageSize " + kId + "/Address label\n";
  const struct {
    std::string func, media;
    StoreStatus status;
    std::string function_id, media_id;
  } cases[] = {
    { kNames, kNames, kStoreDone, kId, kId },
    { "", kNames, kStoreDone, "", kId },
    { kNames, kMissing, kStoreDone, kId, "" },
    { kMissing, kNames, kStoreNotFound, "", "" },
    { "", "", kStoreNotFound, "", "" },
    // The name must match in length and case: "Address" is not "Address
    // label", nor is "address label".
    { "*PageSize VtL070E0641A7F0/Address label\n", kMissing, kStoreNotFound,
      "", "" },
    { "*PageSize " + kId + "/address label\n", kMissing, kStoreNotFound,
      "", "" },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.func + " / " + c.media);
    NamedFormat found;
    StoreFailure failure;
    EXPECT_EQ(c.status, look_up(c.func, c.media, "Address label", &found,
                                &failure));
    EXPECT_EQ(c.function_id, found.function_id);
    EXPECT_EQ(c.media_id, found.media_id);
    EXPECT_EQ(0, failure.error);
  }
}

TEST(FindFormatId, ReadErrorIsAFailureWithItsErrnoAndClosesTheFile) {
  const std::string kFile = std::string(1000, 'x') + "\n" +
      "*PageSize VtL0D3E0641A7F0/Address label\n";
  // The third read is in the function file, the twentieth in the other.
  for (int fail_at : { 3, 20 }) {
    FaultyFileOps files(FaultyFileOps::kRead, fail_at, EIO);
    files.max_read = 100;
    NamedFormat found;
    StoreFailure failure;
    EXPECT_EQ(kStoreFileFailed, look_up(kFile, kFile, "Address label", &found,
                                        &failure, &files));
    EXPECT_EQ(EIO, failure.error);
    EXPECT_NE(std::string::npos, failure.path.find(
        fail_at == 3 ? "/vttxr580func" : "/mediainftxr580"));
    EXPECT_EQ(0, files.open_descriptors);
  }
}
