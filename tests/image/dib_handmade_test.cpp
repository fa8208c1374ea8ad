// Bitmap forms ImageMagick does not write, built byte by byte from a known pixel pattern:
// run-length 4, the run-length edge rules, bit fields with other channel widths, colour counts
// that do not fit the depth, and the 16-bit size fields of the core header. Decoded from exactly
// sized heap copies, so that the address sanitizer reports any read past the end.
#include <gtest/gtest.h>

#include <vector>

#include "dib_test_support.h"

namespace {

using dibtest::Bytes;
using dibtest::DibParts;

using Rgb = std::vector<uint8_t>;
const Rgb kBlack = {0, 0, 0};

// Sixteen distinct palette colours.
Rgb Color(int i) { return {uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i + 1)}; }

Bytes Pixels(std::initializer_list<Rgb> colors) {
  Bytes out;
  for (const Rgb& c : colors) out.insert(out.end(), c.begin(), c.end());
  return out;
}

Bytes Decode(const DibParts& parts) {
  DibStatus status;
  Bytes pixels = dibtest::DecodeExact(dibtest::BuildDib(parts), &status);
  EXPECT_EQ(status, DibStatus::kOk);
  return pixels;
}

DibParts RunLength(uint16_t bitCount, int32_t width, int32_t height, Bytes stream) {
  DibParts p;
  p.width = width;
  p.height = height;
  p.bitCount = bitCount;
  p.compression = bitCount == 4 ? 2 : 1;
  p.colorsUsed = 16;
  for (int i = 0; i < 16; ++i) {
    Bytes entry = dibtest::Table({Color(i)});
    p.table.insert(p.table.end(), entry.begin(), entry.end());
  }
  p.pixels = stream;
  return p;
}

TEST(DibRunLengthTest, FourBitRunsLiteralsDeltaAndEndOfBitmap) {
  Bytes stream = {0x09, 0x12, 0x00, 0x00,                    // 9 alternating pixels, 2 dropped
                  0x00, 0x05, 0x34, 0x56, 0x70, 0x00,        // literal 3..7, padded
                  0x02, 0x89, 0x00, 0x00,                    // then 8, 9
                  0x02, 0xAB, 0x00, 0x02, 0x03, 0x01,        // A, B, move 3 right and 1 up
                  0x02, 0xCD, 0x00, 0x01, 0x05, 0x0F};       // C, D, end (the rest is ignored)
  Rgb k = kBlack;
  Rgb c1 = Color(1), c2 = Color(2);
  EXPECT_EQ(Decode(RunLength(4, 7, 4, stream)),
            Pixels({c1, c2, c1, c2, c1, c2, c1,
                    Color(3), Color(4), Color(5), Color(6), Color(7), Color(8), Color(9),
                    Color(10), Color(11), k, k, k, k, k,
                    k, k, k, k, k, Color(12), Color(13)}));
}

TEST(DibRunLengthTest, EightBitStreamsThatDoNotFitTheImage) {
  Rgb k = kBlack;
  // Overlong run clipped, an index past a 3-entry table, then a move past the last row.
  DibParts p = RunLength(8, 4, 3,
                         {0x06, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00, 0x03, 0x02, 0x05, 0x01, 0x00,
                          0x00, 0x00, 0x00, 0x02, 0x01, 0x05, 0x04, 0x01});
  p.colorsUsed = 3;
  p.table.resize(12);
  EXPECT_EQ(Decode(p), Pixels({Color(1), Color(1), Color(1), Color(1), Color(2), Color(2), k,
                               Color(1), k, k, k, k}));
  // A literal run the stream holds only in part writes nothing; an odd trailing byte is ignored.
  EXPECT_EQ(Decode(RunLength(8, 2, 1, {0x00, 0x04, 0x01, 0x01})), Pixels({k, k}));
  EXPECT_EQ(Decode(RunLength(8, 3, 1, {0x02, 0x01, 0x03})), Pixels({Color(1), Color(1), k}));
  // A non-zero image size field ends the stream early.
  DibParts sized = RunLength(8, 4, 1, {0x02, 0x01, 0x02, 0x02});
  sized.sizeImage = 2;
  EXPECT_EQ(Decode(sized), Pixels({Color(1), Color(1), k, k}));
}

TEST(DibBitFieldsTest, ChannelsOfAnyWidthScaleToEightBits) {
  DibParts p;  // 4-4-4 bits, stored top-down
  p.width = 3;
  p.height = -2;
  p.bitCount = 16;
  p.compression = 3;
  p.masks = {0x0F00, 0x00F0, 0x000F};
  p.pixels = {0x00, 0x0F, 0xF0, 0x00, 0x0F, 0x00, 0, 0,   // top row
              0x23, 0x01, 0xFF, 0xFF, 0x00, 0x00, 0, 0};  // bottom row
  EXPECT_EQ(Decode(p), Pixels({{17, 34, 51}, {255, 255, 255}, kBlack,
                               {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}));

  DibParts wide;  // 10-10 bits keep their top 8 bits; a zero mask gives 0
  wide.width = 2;
  wide.bitCount = 32;
  wide.compression = 3;
  wide.masks = {0x3FF00000, 0x000FFC00, 0};
  for (uint32_t v : {0x3FF00000u | 0x200u << 10 | 0x3FFu, 0x0FFu << 20 | 0x003u << 10}) {
    dibtest::Put32(wide.pixels, v);
  }
  EXPECT_EQ(Decode(wide), Pixels({{255, 128, 0}, {63, 0, 0}}));
}

TEST(DibColorTableTest, CountsBeyondTheDepthOrTheTable) {
  // 1 bit with colours used 5 and no file header: the table holds 2 entries, then the pixels.
  DibParts clamped;
  clamped.fileHeader = false;
  clamped.width = 3;
  clamped.bitCount = 1;
  clamped.colorsUsed = 5;
  clamped.table = dibtest::Table({{10, 20, 30}, {200, 100, 50}});
  clamped.pixels = {0xA0, 0, 0, 0};
  EXPECT_EQ(Decode(clamped), Pixels({{200, 100, 50}, {10, 20, 30}, {200, 100, 50}}));

  // 8 bits with a 2-entry table: indices 2 and 200 are black.
  DibParts short8;
  short8.width = 3;
  short8.bitCount = 8;
  short8.colorsUsed = 2;
  short8.table = dibtest::Table({{1, 2, 3}, {4, 5, 6}});
  short8.pixels = {1, 2, 200, 0};
  EXPECT_EQ(Decode(short8), Pixels({{4, 5, 6}, kBlack, kBlack}));
}

TEST(DibCoreHeaderTest, SixteenBitSizesAndThreeByteEntries) {
  DibParts p;
  p.headerSize = 12;
  p.width = 258;  // both bytes of the field matter; the row ends inside its 33rd byte
  p.bitCount = 1;
  p.table = {30, 20, 10, 60, 50, 40};
  p.pixels.assign(36, 0);
  p.pixels[0] = 0x80;
  p.pixels[32] = 0x40;
  Bytes pixels = Decode(p);
  ASSERT_EQ(pixels.size(), 3u * 258);
  EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 6), Pixels({{40, 50, 60}, {10, 20, 30}}));
  EXPECT_EQ(Bytes(pixels.end() - 6, pixels.end()), Pixels({{10, 20, 30}, {40, 50, 60}}));
}

}  // namespace
