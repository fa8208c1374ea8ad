// Bitmap files written by ImageMagick, decoded by LoadDibImage and compared byte for byte with
// ImageMagick's own decoding of the same file. The header of every written file is checked first,
// so that a case cannot silently test another format than the one it names. Formats ImageMagick
// does not write in the wanted form (headerless, top-down, 40-byte bit-field headers) are derived
// from its files by rewriting headers or reordering rows; the expected pixels stay its decoding.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "dib_test_support.h"

namespace {

using dibtest::Bytes;

enum class Variant { kAsWritten, kHeaderless, kTopDown, kInfoForm, kInfoFormUncompressed };

struct MagickFormat {
  const char* name;
  int colors;  // 0: a true-colour source picture, else a palette picture with this many colours
  const char* arguments;
  uint32_t headerSize;
  uint16_t bitCount;
  uint32_t compression;
  Variant variant;
  // Set where the expected pixels come from ImageMagick's decoding of the same picture written
  // with these arguments instead: its reader loses rows of its own run-length files 1 or 2 pixels
  // wide (its writer codes each row out to the 4-byte stride; the extra pixels must be dropped).
  const char* reference = nullptr;
};

// Names the format in test output instead of dumping its bytes.
void PrintTo(const MagickFormat& format, std::ostream* out) { *out << format.name; }

const MagickFormat kFormats[] = {
    {"Info24", 0, "BMP3:", 40, 24, 0, Variant::kAsWritten},
    {"Info32", 0, "-alpha on -define bmp3:alpha=true BMP3:", 40, 32, 0, Variant::kAsWritten},
    {"Info8", 200, "-compress None BMP3:", 40, 8, 0, Variant::kAsWritten},
    {"Rle8", 200, "BMP3:", 40, 8, 1, Variant::kAsWritten, "-compress None BMP3:"},
    {"Info4", 16, "-compress None BMP3:", 40, 4, 0, Variant::kAsWritten},
    {"Info1", 2, "BMP3:", 40, 1, 0, Variant::kAsWritten},
    {"Core24", 0, "BMP2:", 12, 24, 0, Variant::kAsWritten},
    {"Core8", 200, "BMP2:", 12, 8, 0, Variant::kAsWritten},
    {"Core4", 16, "BMP2:", 12, 4, 0, Variant::kAsWritten},
    {"Core1", 2, "BMP2:", 12, 1, 0, Variant::kAsWritten},
    {"BitFields555", 0, "-define bmp:subtype=RGB555 BMP:", 124, 16, 3, Variant::kInfoForm},
    {"BitFields565", 0, "-define bmp:subtype=RGB565 BMP:", 124, 16, 3, Variant::kInfoForm},
    {"BitFields32", 0, "-alpha on BMP:", 124, 32, 3, Variant::kInfoForm},
    {"Plain555", 0, "-define bmp:subtype=RGB555 BMP:", 124, 16, 3, Variant::kInfoFormUncompressed},
    {"Headerless8", 200, "-compress None BMP3:", 40, 8, 0, Variant::kHeaderless},
    {"HeaderlessCore4", 16, "BMP2:", 12, 4, 0, Variant::kHeaderless},
    {"TopDown24", 0, "BMP3:", 40, 24, 0, Variant::kTopDown},
    {"TopDown8", 200, "-compress None BMP3:", 40, 8, 0, Variant::kTopDown},
};

// A picture with varied pixels: PPM for true colour, XPM (which ImageMagick keeps as a palette
// picture, so no colour reduction runs) for the palette formats.
std::string WriteSource(const std::string& base, int colors, int width, int height) {
  std::string picture;
  auto hash = [](int x, int y, int k) { return (x * 131 + y * 71 + x * y * 29 + k * 97) & 0xFF; };
  if (colors == 0) {
    picture = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        for (int k = 0; k < 3; ++k) picture += static_cast<char>(hash(x, y, k));
      }
    }
    dibtest::WriteBytes(base + ".ppm", Bytes(picture.begin(), picture.end()));
    return base + ".ppm";
  }
  const char* letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  auto code = [&](int i) { return std::string{letters[i % 52], letters[i / 52]}; };
  char color[16];
  picture = "/* XPM */\nstatic char *p[] = {\n\"" + std::to_string(width) + " " +
            std::to_string(height) + " " + std::to_string(colors) + " 2\",\n";
  for (int i = 0; i < colors; ++i) {
    std::snprintf(color, sizeof color, "#%02X%02X%02X", hash(i, 1, 0), hash(i, 2, 1), i);
    picture += "\"" + code(i) + " c " + color + "\",\n";
  }
  for (int y = 0; y < height; ++y) {
    picture += "\"";
    for (int x = 0; x < width; ++x) picture += code((hash(x, y, 0) + x / 3) % colors);
    picture += "\",\n";
  }
  picture += "};\n";
  dibtest::WriteBytes(base + ".xpm", Bytes(picture.begin(), picture.end()));
  return base + ".xpm";
}

// Rewrites an ImageMagick file into the variant's form.
void Derive(Variant variant, int width, int height, Bytes& file) {
  uint32_t headerSize = dibtest::Get32(file, 14);
  uint32_t offset = dibtest::Get32(file, 10);
  uint16_t bitCount = file[headerSize == 12 ? 24 : 28];
  if (variant == Variant::kHeaderless) {
    // Valid only where the pixels follow the colour table directly.
    uint32_t entries = headerSize == 12 ? 3u << bitCount : 4 * dibtest::Get32(file, 46);
    ASSERT_EQ(offset, 14 + headerSize + entries);
    file.erase(file.begin(), file.begin() + 14);
  } else if (variant == Variant::kTopDown) {
    size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    Bytes rows(file.begin() + offset, file.begin() + offset + stride * height);
    for (int r = 0; r < height; ++r) {
      std::copy_n(rows.begin() + (height - 1 - r) * stride, stride,
                  file.begin() + offset + r * stride);
    }
    dibtest::Set32(file, 22, static_cast<uint32_t>(-height));
  } else if (variant != Variant::kAsWritten) {
    // The masks of the 124-byte header sit where a 40-byte header's bit fields go.
    dibtest::Set32(file, 14, 40);
    if (variant == Variant::kInfoFormUncompressed) {
      ASSERT_EQ(dibtest::Get32(file, 54), 0x7C00u);
      ASSERT_EQ(dibtest::Get32(file, 58), 0x03E0u);
      ASSERT_EQ(dibtest::Get32(file, 62), 0x001Fu);
      dibtest::Set32(file, 30, 0);
    }
  }
}

class MagickDibTest : public testing::TestWithParam<std::tuple<MagickFormat, int>> {};

TEST_P(MagickDibTest, DecodesLikeImageMagick) {
  if (!dibtest::HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const auto& [format, width] = GetParam();
  const int height = width == 37 ? 23 : (width * 7) % 11 + 2;
  std::string base = dibtest::Scratch(std::string(format.name) + "_" + std::to_string(width));
  std::string source = WriteSource(base, format.colors, width, height);
  std::string written = base + ".bmp";
  ASSERT_TRUE(dibtest::Convert(source + " " + format.arguments + written));

  Bytes file = dibtest::ReadBytes(written);
  ASSERT_GE(file.size(), 30u);
  ASSERT_EQ(file[0], 'B');
  ASSERT_EQ(dibtest::Get32(file, 14), format.headerSize);
  if (format.headerSize == 12) {
    ASSERT_EQ(file[24], format.bitCount);
  } else {
    ASSERT_EQ(file[28], format.bitCount);
    ASSERT_EQ(dibtest::Get32(file, 30), format.compression);
  }
  std::string reference = written;
  if (format.reference != nullptr) {
    reference = base + "_reference.bmp";
    ASSERT_TRUE(dibtest::Convert(source + " " + format.reference + reference));
  }
  Bytes expected = dibtest::FlipRows(dibtest::ConvertToRgb(reference), width, height);
  ASSERT_EQ(expected.size(), 3u * width * height);

  Derive(format.variant, width, height, file);
  std::string derived = base + "_derived.bmp";
  dibtest::WriteBytes(derived, file);
  dibtest::Loaded loaded;
  dibtest::LoadCapturing(derived, &loaded);
  ASSERT_NE(loaded.image, nullptr) << loaded.errors;
  EXPECT_EQ(loaded.errors, "");
  EXPECT_EQ(loaded.image->width, width);
  EXPECT_EQ(loaded.image->height, height);
  EXPECT_EQ(loaded.Pixels(), expected);
}

// Odd widths put 1 to 3 padding bytes (and partial bytes for 1 and 4 bits) at every row end.
INSTANTIATE_TEST_SUITE_P(Formats, MagickDibTest,
                         testing::Combine(testing::ValuesIn(kFormats),
                                          testing::Values(1, 2, 3, 5, 37)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_w" +
                                  std::to_string(std::get<1>(info.param));
                         });

}  // namespace
