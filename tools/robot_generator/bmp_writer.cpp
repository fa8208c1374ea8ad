// BMP encoding: file header, info or core header, palette, then the pixel rows bottom-up.
#include "tools/robot_generator/bmp_writer.h"

#include <cstdio>
#include <new>

namespace robogen {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kCoreHeaderSize = 12;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi

class ByteSink {
 public:
  ByteSink(uint8_t* data, size_t capacity) : data(data), capacity(capacity) {}
  void U8(uint32_t v) {
    if (size < capacity)
      data[size] = static_cast<uint8_t>(v);
    else
      overflow = true;
    ++size;
  }
  void U16(uint32_t v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void PatchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      if (at + i < capacity) data[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  uint8_t* Cursor() { return size < capacity ? data + size : nullptr; }
  size_t Room() const { return size < capacity ? capacity - size : 0; }
  void Skip(size_t n) { size += n; }

  uint8_t* data;
  size_t capacity;
  size_t size = 0;
  bool overflow = false;
};

int BitsPerPixel(BmpEncoding e) {
  switch (e) {
    case BmpEncoding::Rgb24:
      return 24;
    case BmpEncoding::Rgb32:
      return 32;
    case BmpEncoding::Palette4:
      return 4;
    default:
      return 8;
  }
}

size_t RowBytes(int width, int bits) {
  size_t bytes = (static_cast<size_t>(width) * bits + 7) / 8;
  return (bytes + 3) & ~static_cast<size_t>(3);
}

bool UsesPalette(BmpEncoding e) { return BitsPerPixel(e) <= 8; }

// The core header has no colours-used field, so its table always has all 2^bits entries.
int PaletteEntriesWritten(const Picture& p, BmpEncoding e) {
  if (e == BmpEncoding::CorePalette8) return 256;
  return UsesPalette(e) ? p.PaletteSize() : 0;
}

void WritePixels(const Picture& p, BmpEncoding e, ByteSink& out) {
  int bits = BitsPerPixel(e);
  size_t rowBytes = RowBytes(p.Width(), bits);
  for (int y = p.Height() - 1; y >= 0; --y) {  // bottom row first
    size_t written = 0;
    for (int x = 0; x < p.Width(); ++x) {
      if (bits == 24 || bits == 32) {
        Rgb c = p.GetRgb(x, y);
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        written += 3;
        if (bits == 32) {
          out.U8(0);  // the unused fourth byte
          ++written;
        }
      } else if (bits == 8) {
        out.U8(static_cast<uint32_t>(p.GetIndex(x, y)));
        ++written;
      } else {  // 4 bits: the left pixel in the high nibble
        uint32_t high = static_cast<uint32_t>(p.GetIndex(x, y)) & 0x0F;
        uint32_t low = x + 1 < p.Width() ? static_cast<uint32_t>(p.GetIndex(x + 1, y)) & 0x0F : 0;
        out.U8((high << 4) | low);
        ++written;
        ++x;
      }
    }
    for (; written < rowBytes; ++written) out.U8(0);
  }
}

void WriteRlePixels(const Picture& p, ByteSink& out) {
  uint8_t row[Picture::kMaxSide];
  for (int y = p.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < p.Width(); ++x) row[x] = static_cast<uint8_t>(p.GetIndex(x, y));
    size_t n = EncodeRle8Row(row, p.Width(), out.Cursor(), out.Room());
    if (n == 0) {
      out.overflow = true;
      return;
    }
    out.Skip(n);
    out.U8(0);
    out.U8(y == 0 ? 1 : 0);  // end of line, or end of bitmap after the top row
  }
}

}  // namespace

size_t EncodeRle8Row(const uint8_t* row, int width, uint8_t* out, size_t capacity) {
  if (out == nullptr) return 0;
  size_t n = 0;
  auto put = [&](uint8_t v) {
    if (n < capacity) out[n] = v;
    ++n;
  };
  int i = 0;
  while (i < width) {
    int run = 1;
    while (i + run < width && run < 255 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      put(static_cast<uint8_t>(run));
      put(row[i]);
      i += run;
      continue;
    }
    // A literal stretch ends where a run of two or more begins.
    int j = i;
    while (j < width && j - i < 255 && !(j + 1 < width && row[j] == row[j + 1])) ++j;
    int literal = j - i;
    if (literal >= 3) {  // absolute mode: 0, count, the bytes, padded to a 16-bit boundary
      put(0);
      put(static_cast<uint8_t>(literal));
      for (int k = i; k < j; ++k) put(row[k]);
      if (literal & 1) put(0);
    } else {  // 0, 1 and 0, 2 are escapes, so short literals go out as runs of one
      for (int k = i; k < j; ++k) {
        put(1);
        put(row[k]);
      }
    }
    i = j;
  }
  return n <= capacity ? n : 0;
}

size_t BmpSizeBound(const Picture& p, BmpEncoding e) {
  size_t headers = kFileHeaderSize + kInfoHeaderSize + 4 * 256;
  if (e == BmpEncoding::Palette8Rle) {
    return headers + static_cast<size_t>(p.Height()) * (2 * static_cast<size_t>(p.Width()) + 4) + 2;
  }
  return headers + RowBytes(p.Width(), BitsPerPixel(e)) * static_cast<size_t>(p.Height());
}

size_t EncodeBmp(const Picture& p, BmpEncoding e, uint8_t* data, size_t capacity) {
  if (p.Width() < 1 || p.Height() < 1) return 0;
  if (UsesPalette(e) && !p.IsIndexed()) return 0;
  if (e == BmpEncoding::Palette4 && p.PaletteSize() > 16) return 0;
  if (e == BmpEncoding::CorePalette8 && (p.Width() > 0xFFFF || p.Height() > 0xFFFF)) return 0;

  bool core = e == BmpEncoding::CorePalette8;
  int entries = PaletteEntriesWritten(p, e);
  size_t headerSize = core ? kCoreHeaderSize : kInfoHeaderSize;
  size_t pixelOffset = kFileHeaderSize + headerSize + entries * (core ? 3 : 4);

  ByteSink out(data, capacity);
  out.U8('B');
  out.U8('M');
  out.U32(0);  // file size, patched below
  out.U32(0);
  out.U32(static_cast<uint32_t>(pixelOffset));
  if (core) {
    out.U32(kCoreHeaderSize);
    out.U16(static_cast<uint32_t>(p.Width()));
    out.U16(static_cast<uint32_t>(p.Height()));
    out.U16(1);
    out.U16(8);
  } else {
    out.U32(kInfoHeaderSize);
    out.U32(static_cast<uint32_t>(p.Width()));
    out.U32(static_cast<uint32_t>(p.Height()));
    out.U16(1);
    out.U16(static_cast<uint32_t>(BitsPerPixel(e)));
    out.U32(e == BmpEncoding::Palette8Rle ? 1 : 0);
    out.U32(0);  // image size, patched below
    out.U32(kPixelsPerMetre);
    out.U32(kPixelsPerMetre);
    out.U32(static_cast<uint32_t>(entries));
    out.U32(0);
  }
  for (int i = 0; i < entries; ++i) {
    Rgb c = p.PaletteEntry(i);
    out.U8(c.b);
    out.U8(c.g);
    out.U8(c.r);
    if (!core) out.U8(0);
  }
  if (e == BmpEncoding::Palette8Rle) {
    WriteRlePixels(p, out);
  } else {
    WritePixels(p, e, out);
  }
  if (out.overflow || out.size > capacity) return 0;
  out.PatchU32(2, static_cast<uint32_t>(out.size));
  if (!core) out.PatchU32(kFileHeaderSize + 20, static_cast<uint32_t>(out.size - pixelOffset));
  return out.size;
}

bool WriteBmpFile(const char* path, const Picture& picture, BmpEncoding encoding) {
  size_t capacity = BmpSizeBound(picture, encoding);
  uint8_t* buffer = new (std::nothrow) uint8_t[capacity];
  if (buffer == nullptr) return false;
  size_t size = EncodeBmp(picture, encoding, buffer, capacity);
  bool ok = false;
  if (size > 0) {
    std::FILE* f = std::fopen(path, "wb");
    if (f != nullptr) {
      ok = std::fwrite(buffer, 1, size, f) == size;
      ok = std::fclose(f) == 0 && ok;
    }
  }
  delete[] buffer;
  return ok;
}

}  // namespace robogen
