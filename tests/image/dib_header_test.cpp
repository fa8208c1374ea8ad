// Header arithmetic of the bitmap loader: colour counts, normalisation of both header forms, the
// size limits at their edges.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "dib_test_support.h"
#include "image/dib_geometry.h"
#include "image/dib_header.h"

namespace {

using dibtest::Bytes;

Bytes Header(uint32_t size, uint16_t bitCount, uint32_t colorsUsed, int32_t width = 3) {
  dibtest::DibParts p;
  p.fileHeader = false;
  p.headerSize = size;
  p.width = width;
  p.height = 2;
  p.bitCount = bitCount;
  p.colorsUsed = colorsUsed;
  return dibtest::BuildDib(p);
}

uint16_t ColorCount(const Bytes& header) {
  return DibColorCount(ByteView{header.data(), header.size()});
}

TEST(DibHeaderTest, ColorCountFollowsColorsUsedThenDepth) {
  EXPECT_EQ(ColorCount(Header(40, 8, 0)), 256);
  EXPECT_EQ(ColorCount(Header(40, 8, 16)), 16);
  EXPECT_EQ(ColorCount(Header(40, 8, 0x10010)), 16);  // only the low 16 bits count
  EXPECT_EQ(ColorCount(Header(40, 4, 0)), 16);
  EXPECT_EQ(ColorCount(Header(40, 24, 0)), 0);
  EXPECT_EQ(ColorCount(Header(12, 1, 0)), 2);
  EXPECT_EQ(DibTableEntries(300, 8), 256u);
  EXPECT_EQ(DibTableEntries(5, 1), 2u);
  EXPECT_EQ(DibTableEntries(5, 24), 5u);
  EXPECT_EQ(DibTableEntries(300, 2), 4u);
  EXPECT_EQ(DibTableEntries(511, 0), 1u);
}

TEST(DibHeaderTest, NormalisesBothFormsToTheInfoHeader) {
  Bytes core = Header(12, 8, 0, 0xFFFF);  // a 16-bit width is unsigned
  DibInfoHeader h;
  ASSERT_EQ(NormaliseDibHeader(ByteView{core.data(), core.size()}, 256, &h), DibStatus::kOk);
  EXPECT_EQ(h.width, 0xFFFF);
  EXPECT_EQ(h.height, 2);
  EXPECT_EQ(h.bitCount, 8);
  EXPECT_EQ(h.compression, 0u);
  EXPECT_EQ(h.sizeImage, 0xFFFFu * 2);
  EXPECT_EQ(h.clrUsed, 256u);
  EXPECT_EQ(h.clrImportant, 256u);

  Bytes info = Header(40, 24, 0);  // image size 0: unpadded 9 bytes a row
  ASSERT_EQ(NormaliseDibHeader(ByteView{info.data(), info.size()}, 0, &h), DibStatus::kOk);
  EXPECT_EQ(h.sizeImage, 18u);
  Bytes v5 = Header(124, 24, 0);
  EXPECT_EQ(NormaliseDibHeader(ByteView{v5.data(), v5.size()}, 0, &h), DibStatus::kUnknownFormat);
}

TEST(DibGeometryTest, LimitsHoldAtTheirEdges) {
  auto check = [](int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                  uint64_t bytes) {
    DibInfoHeader h{40, width, height, 1, bits, compression, 0, 0, 0, 0, 0};
    DibGeometry g;
    return CheckDibGeometry(h, bytes, &g) == DibStatus::kOk;
  };
  EXPECT_TRUE(check(8192, 8192, 8, 1, 0));  // run-length data needs no bytes to be accepted
  EXPECT_FALSE(check(8192, 8193, 8, 1, 0));
  EXPECT_TRUE(check(16384, 4096, 8, 1, 0));
  EXPECT_FALSE(check(16385, 1, 8, 1, 0));
  EXPECT_FALSE(check(1, -16385, 24, 0, 1u << 20));
  EXPECT_FALSE(check(1, INT32_MIN, 24, 0, UINT64_MAX));
  EXPECT_TRUE(check(5, -3, 24, 0, 2 * 16 + 15));  // stride 16, last row unpadded
  EXPECT_FALSE(check(5, -3, 24, 0, 2 * 16 + 14));
  EXPECT_TRUE(check(16384, 4096, 1, 0, 4095ull * 2048 + 2048));
  EXPECT_EQ(DibRowStride(37, 4), 20u);
  EXPECT_EQ(DibRowBytes(37, 4), 19u);
  EXPECT_TRUE(DibMaskIsContiguous(0xFFFFFFFFu));
  EXPECT_FALSE(DibMaskIsContiguous(0x80000001u));
}

}  // namespace
