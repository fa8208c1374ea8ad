// Files the loader must refuse: each gives a null image and exactly one "Error: " line on
// standard error with the message of its kind, and none of them is read past its end.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "dib_test_support.h"

namespace {

using dibtest::Bytes;
using dibtest::DibParts;

const char kUnknown[] = "Unknown DIB file format.";
const char kConversion[] = "Image file conversion error.";

struct Refused {
  std::string name;
  Bytes file;
  const char* message;
};

DibParts Small24() {  // 3 x 2 pixels, 24 bits: rows of 9 bytes padded to 12
  DibParts p;
  p.width = 3;
  p.height = 2;
  p.pixels.assign(24, 0x5A);
  return p;
}

template <typename Change>
Bytes Changed(DibParts p, Change change) {
  change(p);
  return dibtest::BuildDib(p);
}

std::vector<Refused> RefusedFiles() {
  std::vector<Refused> cases;
  for (uint32_t size : {0u, 16u, 64u, 108u, 124u}) {
    cases.push_back({"header size " + std::to_string(size),
                     Changed(Small24(), [&](DibParts& p) { p.headerSize = size; }), kUnknown});
  }
  cases.push_back(
      {"file header only", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40}, kUnknown});
  cases.push_back({"three bytes", {40, 0, 0}, kUnknown});
  Bytes cutHeader = dibtest::BuildDib(Small24());
  cutHeader.resize(14 + 30);
  cases.push_back({"header cut short", cutHeader, kConversion});
  Bytes cutRow = dibtest::BuildDib(Small24());
  cutRow.resize(cutRow.size() - 4);  // the last row without its padding is still whole
  cases.push_back({"last row cut short", Bytes(cutRow.begin(), cutRow.end() - 1), kConversion});
  cases.push_back({"colour table cut short", Changed(Small24(), [](DibParts& p) {
                     p.bitCount = 8;  // 256 entries expected, 16 present
                     p.table.assign(64, 7);
                     p.pixels.resize(8);
                     p.pixelOffset = 14 + 40 + 64;
                   }), kConversion});
  Bytes farOffset = dibtest::BuildDib(Small24());
  dibtest::Set32(farOffset, 10, static_cast<uint32_t>(farOffset.size() + 1));
  cases.push_back({"pixel offset past the end", farOffset, kConversion});
  cases.push_back({"bit-field masks cut off", Changed(Small24(), [](DibParts& p) {
                     p.bitCount = 16;
                     p.compression = 3;
                     p.pixels.clear();
                     p.pixelOffset = 54;
                   }), kConversion});
  cases.push_back({"mask with a gap", Changed(Small24(), [](DibParts& p) {
                     p.bitCount = 16;
                     p.compression = 3;
                     p.masks = {0x7C00, 0x0360, 0x001F};
                   }), kConversion});
  // Found by fuzzing: a depth of 0 or 2 bits with a large colour count once read more table
  // entries than the table holds.
  for (uint16_t bits : {0, 2}) {
    cases.push_back({"depth " + std::to_string(bits) + " with 511 colours",
                     Changed(Small24(), [&](DibParts& p) {
                       p.bitCount = bits;
                       p.colorsUsed = 511;
                       p.table.assign(4 * 511, 0x33);
                     }), kConversion});
  }
  struct Size {
    int32_t width, height;
    uint16_t bits;
    uint32_t compression;
  };
  for (Size s : {Size{0, 2, 24, 0}, Size{3, 0, 24, 0}, Size{-3, 2, 24, 0},
                 Size{100000, 100000, 24, 0},  // gigantic
                 Size{4000, 4000, 24, 0},      // plausible, but the rows are not in the file
                 Size{16385, 1, 8, 1}, Size{8192, 8193, 8, 1}, Size{3, INT32_MIN, 24, 0},
                 Size{3, 2, 2, 0}, Size{3, 2, 0, 0}, Size{3, 2, 64, 0}, Size{3, 2, 24, 4},
                 Size{3, 2, 24, 5}, Size{3, 2, 4, 1}, Size{3, 2, 8, 2}, Size{3, 2, 24, 3},
                 Size{3, -2, 8, 1}}) {
    cases.push_back({"size " + std::to_string(s.width) + "x" + std::to_string(s.height) + " bits " +
                         std::to_string(s.bits) + " compression " + std::to_string(s.compression),
                     Changed(Small24(), [&](DibParts& p) {
                       p.width = s.width;
                       p.height = s.height;
                       p.bitCount = s.bits;
                       p.compression = s.compression;
                     }), kConversion});
  }
  return cases;
}

TEST(DibFailureTest, RefusedFilesShowOneMessageAndReturnNull) {
  for (const Refused& c : RefusedFiles()) {
    SCOPED_TRACE(c.name);
    dibtest::Loaded loaded;
    dibtest::WriteAndLoad(c.file, &loaded);
    EXPECT_EQ(loaded.image, nullptr);
    EXPECT_EQ(loaded.errors, std::string("Error: ") + c.message + "\n");
    DibStatus status;
    EXPECT_TRUE(dibtest::DecodeExact(c.file, &status).empty());
    EXPECT_NE(status, DibStatus::kOk);
  }
}

TEST(DibFailureTest, ShortestFileHoldingEveryRowLoads) {
  Bytes file = dibtest::BuildDib(Small24());
  file.resize(file.size() - 3);  // no padding after the last row
  dibtest::Loaded loaded;
  EXPECT_EQ(dibtest::WriteAndLoad(file, &loaded), Bytes(18, 0x5A));
  EXPECT_EQ(loaded.errors, "");
}

TEST(DibFailureTest, FilesThatCannotBeOpened) {
  std::string empty = dibtest::Scratch("empty.bmp");
  dibtest::WriteBytes(empty, {});
  std::string folder = dibtest::Scratch("folder.bmp");
  mkdir(folder.c_str(), 0700);
  for (const std::string& path : {dibtest::Scratch("missing.bmp"), empty, folder}) {
    dibtest::Loaded loaded;
    dibtest::LoadCapturing(path, &loaded);
    EXPECT_EQ(loaded.image, nullptr);
    EXPECT_EQ(loaded.errors, "Error: Failed to open DIB file " + path + ".\n");
  }
  // A name too long for the 256-character message is cut short; the message keeps its end.
  std::string longName = dibtest::Scratch(std::string(400, 'n') + ".bmp");
  dibtest::Loaded loaded;
  dibtest::LoadCapturing(longName, &loaded);
  EXPECT_EQ(loaded.image, nullptr);
  EXPECT_EQ(loaded.errors, "Error: Failed to open DIB file " + longName.substr(0, 229) + ".\n");
}

}  // namespace
