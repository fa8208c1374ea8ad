// Header parsing and normalisation for bitmap files (see dib_header.h).
#include "image/dib_header.h"

namespace {

uint16_t DefaultColorCount(uint16_t bitCount) {
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

uint16_t HeaderBitCount(ByteView bitmapHeader) {
  return bitmapHeader.U32(0) == kDibCoreHeaderSize ? bitmapHeader.U16(10) : bitmapHeader.U16(14);
}

bool IsRunLength(uint32_t compression) {
  return compression == kDibCompressionRle8 || compression == kDibCompressionRle4;
}

}  // namespace

uint16_t DibColorCount(ByteView bitmapHeader) {
  if (bitmapHeader.U32(0) != kDibCoreHeaderSize) {
    uint32_t used = bitmapHeader.U32(32);
    if (used != 0) return static_cast<uint16_t>(used & 0xFFFFu);
  }
  return DefaultColorCount(HeaderBitCount(bitmapHeader));
}

uint32_t DibTableEntries(uint16_t colorCount, uint16_t bitCount) {
  // Every depth up to 8 bits, not only the three that convert: the table of a file with another
  // small depth is still read (before the depth is refused) and must fit the 256 entries.
  if (bitCount <= 8) {
    uint32_t most = 1u << bitCount;
    return colorCount < most ? colorCount : most;
  }
  return colorCount;
}

DibStatus NormaliseDibHeader(ByteView bitmapHeader, uint16_t colorCount, DibInfoHeader* out) {
  uint32_t size = bitmapHeader.U32(0);
  if (size != kDibCoreHeaderSize && size != kDibInfoHeaderSize) return DibStatus::kUnknownFormat;
  if (!bitmapHeader.Has(0, size)) return DibStatus::kHeaderCutShort;
  DibInfoHeader& h = *out;
  h.size = kDibInfoHeaderSize;
  if (size == kDibCoreHeaderSize) {
    h.width = bitmapHeader.U16(4);
    h.height = bitmapHeader.U16(6);
    h.planes = bitmapHeader.U16(8);
    h.bitCount = bitmapHeader.U16(10);
    h.compression = kDibCompressionNone;
    h.sizeImage = 0;
    h.xPelsPerMeter = 0;
    h.yPelsPerMeter = 0;
    h.clrUsed = colorCount;
    h.clrImportant = colorCount;
  } else {
    h.width = bitmapHeader.I32(4);
    h.height = bitmapHeader.I32(8);
    h.planes = bitmapHeader.U16(12);
    h.bitCount = bitmapHeader.U16(14);
    h.compression = bitmapHeader.U32(16);
    h.sizeImage = bitmapHeader.U32(20);
    h.xPelsPerMeter = bitmapHeader.I32(24);
    h.yPelsPerMeter = bitmapHeader.I32(28);
    h.clrUsed = bitmapHeader.U32(32);
    h.clrImportant = bitmapHeader.U32(36);
  }
  if (h.sizeImage == 0) {
    uint32_t width = static_cast<uint32_t>(h.width);
    uint32_t height = static_cast<uint32_t>(h.height);
    h.sizeImage = ((width * h.bitCount + 7u) / 8u) * height;
  }
  if (h.clrUsed == 0) h.clrUsed = colorCount;
  return DibStatus::kOk;
}

bool DibMaskIsContiguous(uint32_t mask) {
  if (mask == 0) return true;
  uint32_t run = mask >> __builtin_ctz(mask);
  return (run & (run + 1)) == 0;
}

DibStatus ReadDibLayout(ByteView file, DibImageLayout* out) {
  *out = DibImageLayout{};
  bool hasFileHeader = file.size >= 2 && file.data[0] == 'B' && file.data[1] == 'M';
  uint64_t headerOffset = hasFileHeader ? kDibFileHeaderSize : 0;
  if (!file.Has(headerOffset, 4)) return DibStatus::kUnknownFormat;
  ByteView header = file.From(headerOffset);

  uint16_t colorCount = DibColorCount(header);
  DibStatus status = NormaliseDibHeader(header, colorCount, &out->header);
  if (status != DibStatus::kOk) return status;
  const DibInfoHeader& info = out->header;
  uint32_t headerSize = header.U32(0);

  // Bit-field masks sit right behind the 40-byte header, ahead of any colour table.
  uint64_t tableOffset = headerSize;
  if (info.compression == kDibCompressionBitFields) {
    if (!header.Has(kDibInfoHeaderSize, kDibMaskBytes)) return DibStatus::kMasksCutShort;
    for (int i = 0; i < 3; ++i) {
      out->masks[i] = header.U32(kDibInfoHeaderSize + 4u * static_cast<uint32_t>(i));
      if (!DibMaskIsContiguous(out->masks[i])) return DibStatus::kMaskNotContiguous;
    }
    tableOffset += kDibMaskBytes;
  } else if (info.bitCount == 16) {
    out->masks[0] = 0x7C00u;
    out->masks[1] = 0x03E0u;
    out->masks[2] = 0x001Fu;
  } else if (info.bitCount == 32) {
    out->masks[0] = 0x00FF0000u;
    out->masks[1] = 0x0000FF00u;
    out->masks[2] = 0x000000FFu;
  }

  uint32_t entries = DibTableEntries(colorCount, info.bitCount);
  uint64_t entrySize = headerSize == kDibCoreHeaderSize ? 3 : 4;
  uint64_t tableBytes = entries * entrySize;
  // Only palette depths look colours up; for the others the table merely sits in front of the
  // pixels, and its size matters only where no file header gives the pixel offset.
  if (info.bitCount <= 8) {
    if (!header.Has(tableOffset, tableBytes)) return DibStatus::kColourTableCutShort;
    const uint8_t* table = header.data + tableOffset;
    for (uint32_t i = 0; i < entries; ++i) {
      const uint8_t* entry = table + i * entrySize;
      out->colors[i] =
          DibColorEntry{entry[0], entry[1], entry[2], entrySize == 4 ? entry[3] : uint8_t{0}};
    }
    out->colorCount = entries;
  }

  uint64_t pixelOffset = hasFileHeader ? file.U32(10) : tableOffset + tableBytes;
  if (pixelOffset > file.size) return DibStatus::kPixelsBeyondFile;
  out->pixels = file.From(pixelOffset);
  // The file's own size field (before normalisation) bounds a run-length stream; zero means the
  // stream runs to the end of the file.
  uint32_t storedSize = headerSize == kDibInfoHeaderSize ? header.U32(20) : 0;
  if (IsRunLength(info.compression) && storedSize != 0) {
    out->pixels = out->pixels.Prefix(storedSize);
  }
  return DibStatus::kOk;
}
