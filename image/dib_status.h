// The outcomes of loading a bitmap file. Each failure maps to exactly one user-visible message
// (dib_messages.h), so the steps of the loader return a status and never report by themselves.
#pragma once

enum class DibStatus {
  kOk,
  kOpenFailed,       // missing, unreadable, not a regular file, or empty
  kUnknownFormat,    // no bitmap header size can be read, or it is neither 12 nor 40
  kConversionError,  // unsupported depth/compression, impossible size, data the file lacks
  kOutOfMemory,
};
