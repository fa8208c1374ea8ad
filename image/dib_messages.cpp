// Failure messages of the bitmap loader.
#include "image/dib_messages.h"

#include <cstdio>
#include <cstring>

#include "platform/error_report.h"

namespace {

constexpr char kOpenFailurePrefix[] = "Failed to open DIB file ";
constexpr char kOpenFailureSuffix[] = ".\n";

}  // namespace

void FormatDibOpenFailure(char (&text)[kDibMessageCapacity], const char* fileName) {
  if (fileName == nullptr) fileName = "";
  // Room for the name: the whole buffer less the fixed text and the terminating NUL.
  constexpr size_t kNameRoom =
      kDibMessageCapacity - (sizeof kOpenFailurePrefix - 1) - (sizeof kOpenFailureSuffix - 1) - 1;
  size_t nameLength = strnlen(fileName, kNameRoom);
  std::snprintf(text, sizeof text, "%s%.*s%s", kOpenFailurePrefix, static_cast<int>(nameLength),
                fileName, kOpenFailureSuffix);
}

void ShowDibFailure(DibStatus status, const char* fileName) {
  if (IsConversionError(status)) {
    ShowErrorMessage("Image file conversion error.");
    return;
  }
  switch (status) {
    case DibStatus::kOk:
      return;
    case DibStatus::kOpenFailed: {
      char text[kDibMessageCapacity];
      FormatDibOpenFailure(text, fileName);
      ShowErrorMessage(text);
      return;
    }
    case DibStatus::kUnknownFormat:
      ShowErrorMessage("Unknown DIB file format.");
      return;
    case DibStatus::kOutOfMemory:
      ShowErrorMessage("Out of memory.");
      return;
    default:
      return;  // the conversion errors, above
  }
}
