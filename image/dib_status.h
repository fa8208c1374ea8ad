// The outcomes of loading a bitmap file. Each failure maps to exactly one user-visible message
// (dib_messages.h), so the steps of the loader return a status and never report by themselves.
// The user sees one message for every conversion error; the statuses keep the cause apart for
// developers and tests.
#pragma once

enum class DibStatus {
  kOk,
  kOpenFailed,     // missing, unreadable, not a regular file, or empty
  kUnknownFormat,  // no bitmap header size can be read, or it is neither 12 nor 40
  // "Image file conversion error.":
  kHeaderCutShort,        // the file ends inside the bitmap header
  kMasksCutShort,         // bit-field compression, and the file ends inside the three masks
  kMaskNotContiguous,     // a bit-field mask whose set bits have a gap
  kColourTableCutShort,   // a palette depth, and the file ends inside the colour table
  kPixelsBeyondFile,      // the pixel data would start past the end of the file
  kUnsupportedFormat,     // a depth and compression pair the conversion does not decode
  kUnsupportedSize,       // a side of zero (or a negative width), or more than the loader takes
  kTopDownRunLength,      // run-length data in a top-down file
  kPixelsCutShort,        // fewer pixel bytes than the rows need
  kOutOfMemory,
};

inline bool IsConversionError(DibStatus status) {
  return status >= DibStatus::kHeaderCutShort && status <= DibStatus::kPixelsCutShort;
}
