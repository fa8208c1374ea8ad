// The BMP writer in all six encodings, read back by ImageMagick as an independent decoder: odd
// widths (row padding, a half-filled last 4-bit byte), run-length rows with long runs, odd and
// short literals, and the pictures each encoding must refuse.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "generator/imagemagick_probe.h"
#include "support/scratch_dir.h"
#include "tools/robot_generator/bmp_writer.h"

namespace {

using namespace robogen;

std::string PictureRgb(const Picture& p) {
  std::string out;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) {
      Rgb c = p.GetRgb(x, y);
      out += static_cast<char>(c.r);
      out += static_cast<char>(c.g);
      out += static_cast<char>(c.b);
    }
  return out;
}

void PaintIndexed(Picture& p, int colours) {
  std::vector<Rgb> palette;
  for (int i = 0; i < colours; ++i)
    palette.push_back(Rgb{static_cast<uint8_t>(i * 37), static_cast<uint8_t>(255 - i * 11),
                          static_cast<uint8_t>(i * 5 + 3)});
  p.SetPalette(palette.data(), colours);
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) p.SetIndex(x, y, (x * 7 + y * 3 + x * y) % colours);
}

uint32_t U32(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
         static_cast<uint8_t>(s[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

void ExpectImageMagickReads(const ScratchDir& dir, const Picture& p, BmpEncoding e,
                            const std::string& name) {
  std::string path = dir.File(name);
  ASSERT_TRUE(WriteBmpFile(path.c_str(), p, e)) << name;
  std::string file = ReadWholeFile(path);
  ASSERT_GE(file.size(), 26u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(U32(file, 2), file.size()) << "file size field";
  bool ok = false;
  std::string size = generator_test::IdentifiedSize(path, ok);
  EXPECT_TRUE(ok) << name;
  EXPECT_EQ(size, std::to_string(p.Width()) + " " + std::to_string(p.Height())) << name;
  std::string decoded = generator_test::DecodedRgb(path, ok);
  ASSERT_TRUE(ok) << name;
  EXPECT_TRUE(decoded == PictureRgb(p)) << name << ": ImageMagick decodes other pixels";
}

TEST(GeneratorBmp, EveryEncodingDecodesToThePicturesPixels) {
  ScratchDir dir;
  Picture rgb(7, 5);  // 21 bytes a row in 24 bits: three bytes of padding
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      rgb.SetRgb(x, y,
                 Rgb{static_cast<uint8_t>(x * 30), static_cast<uint8_t>(y * 50),
                     static_cast<uint8_t>(x * y * 9 + 1)});
  ExpectImageMagickReads(dir, rgb, BmpEncoding::Rgb24, "rgb24.bmp");
  ExpectImageMagickReads(dir, rgb, BmpEncoding::Rgb32, "rgb32.bmp");

  Picture indexed(9, 6);  // 9 pixels: a lone pixel in the last 4-bit byte
  PaintIndexed(indexed, 16);
  ExpectImageMagickReads(dir, indexed, BmpEncoding::Palette4, "pal4.bmp");
  ExpectImageMagickReads(dir, indexed, BmpEncoding::Palette8, "pal8.bmp");
  ExpectImageMagickReads(dir, indexed, BmpEncoding::CorePalette8, "core8.bmp");
  ExpectImageMagickReads(dir, indexed, BmpEncoding::Palette8Rle, "rle8.bmp");
}

TEST(GeneratorBmp, HeadersSayWhatTheEncodingIs) {
  Picture p(9, 6);
  PaintIndexed(p, 12);
  struct Case {
    BmpEncoding encoding;
    uint32_t headerSize, bits, compression, paletteBytes;
  } cases[] = {
      {BmpEncoding::Rgb24, 40, 24, 0, 0},        {BmpEncoding::Rgb32, 40, 32, 0, 0},
      {BmpEncoding::Palette8, 40, 8, 0, 12 * 4}, {BmpEncoding::Palette8Rle, 40, 8, 1, 12 * 4},
      {BmpEncoding::Palette4, 40, 4, 0, 12 * 4}, {BmpEncoding::CorePalette8, 12, 8, 0, 256 * 3}};
  for (const Case& c : cases) {
    std::vector<uint8_t> buffer(BmpSizeBound(p, c.encoding));
    size_t size = EncodeBmp(p, c.encoding, buffer.data(), buffer.size());
    ASSERT_GT(size, 0u);
    std::string s(reinterpret_cast<const char*>(buffer.data()), size);
    EXPECT_EQ(U32(s, 14), c.headerSize);
    EXPECT_EQ(U32(s, 10), 14 + c.headerSize + c.paletteBytes) << "pixel data offset";
    if (c.headerSize == 12) {
      EXPECT_EQ(s[18] | s[19] << 8, 9);
      EXPECT_EQ(s[20] | s[21] << 8, 6);
      EXPECT_EQ(s[24], 8);
    } else {
      EXPECT_EQ(U32(s, 18), 9u);
      EXPECT_EQ(U32(s, 22), 6u);
      EXPECT_EQ(static_cast<uint32_t>(s[28]), c.bits);
      EXPECT_EQ(U32(s, 30), c.compression);
      EXPECT_EQ(U32(s, 34), size - U32(s, 10)) << "image size";
      EXPECT_EQ(U32(s, 46), c.paletteBytes / 4) << "colours used";
    }
  }
}

TEST(GeneratorBmp, RunLengthRowsUseRunsAbsoluteBlocksAndEscapesCorrectly) {
  // A run of 3, an absolute block of 3 (odd: padded), a run of 2, a lone pixel, a run of 2.
  const uint8_t row[] = {5, 5, 5, 1, 2, 3, 7, 7, 9, 4, 4};
  uint8_t out[64];
  size_t n = EncodeRle8Row(row, 11, out, sizeof out);
  const uint8_t expected[] = {3, 5, 0, 3, 1, 2, 3, 0, 2, 7, 1, 9, 2, 4};
  ASSERT_EQ(n, sizeof expected);
  EXPECT_EQ(std::memcmp(out, expected, n), 0);
  // Two different pixels cannot be an absolute block (0, 2 is the position escape).
  const uint8_t pair[] = {8, 6};
  n = EncodeRle8Row(pair, 2, out, sizeof out);
  const uint8_t pairExpected[] = {1, 8, 1, 6};
  ASSERT_EQ(n, sizeof pairExpected);
  EXPECT_EQ(std::memcmp(out, pairExpected, n), 0);
  EXPECT_EQ(EncodeRle8Row(row, 11, out, 5), 0u) << "must not overrun a small buffer";

  // Long runs and long literals split at 255, through a real decoder.
  ScratchDir dir;
  Picture p(600, 4);
  Rgb palette[256];
  for (int i = 0; i < 256; ++i)
    palette[i] =
        Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i ^ 0x5A)};
  p.SetPalette(palette, 256);
  for (int x = 0; x < 600; ++x) {
    p.SetIndex(x, 0, 17);                               // one colour across
    p.SetIndex(x, 1, x % 256);                          // nothing repeats
    p.SetIndex(x, 2, (x / 3) % 2 ? 200 : x % 5);        // runs and literals mixed
    p.SetIndex(x, 3, x < 299 ? 0 : (x < 301 ? 1 : 2));  // runs beyond 255
  }
  ExpectImageMagickReads(dir, p, BmpEncoding::Palette8Rle, "runs.bmp");
  std::vector<uint8_t> buffer(BmpSizeBound(p, BmpEncoding::Palette8Rle));
  size_t size = EncodeBmp(p, BmpEncoding::Palette8Rle, buffer.data(), buffer.size());
  ASSERT_GE(size, 2u);
  EXPECT_EQ(buffer[size - 2], 0);
  EXPECT_EQ(buffer[size - 1], 1) << "ends with the end-of-bitmap escape";
}

TEST(GeneratorBmp, RefusesWhatAnEncodingCannotHold) {
  Picture rgbOnly(4, 4);
  std::vector<uint8_t> buffer(8192);
  EXPECT_EQ(EncodeBmp(rgbOnly, BmpEncoding::Palette8, buffer.data(), buffer.size()), 0u);
  EXPECT_EQ(EncodeBmp(rgbOnly, BmpEncoding::CorePalette8, buffer.data(), buffer.size()), 0u);
  Picture many(4, 4);
  PaintIndexed(many, 17);
  EXPECT_EQ(EncodeBmp(many, BmpEncoding::Palette4, buffer.data(), buffer.size()), 0u);
  EXPECT_GT(EncodeBmp(many, BmpEncoding::Palette8, buffer.data(), buffer.size()), 0u);
  EXPECT_EQ(EncodeBmp(many, BmpEncoding::Palette8, buffer.data(), 100), 0u) << "buffer too small";
  Picture empty(0, 3);
  EXPECT_EQ(empty.Width(), 0);
  EXPECT_EQ(EncodeBmp(empty, BmpEncoding::Rgb24, buffer.data(), buffer.size()), 0u);
  Picture huge(Picture::kMaxSide + 1, 2);
  EXPECT_EQ(huge.Width(), 0);
}

}  // namespace
