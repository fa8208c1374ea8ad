// The loader's failure messages, shown through the platform's error report (one line per failure).
#pragma once

#include <cstddef>

#include "image/dib_status.h"

constexpr size_t kDibMessageCapacity = 256;

// Formats "Failed to open DIB file <name>.\n" into text. A name too long for the buffer is cut
// short so that the message still ends with ".\n"; a null name formats as an empty one.
void FormatDibOpenFailure(char (&text)[kDibMessageCapacity], const char* fileName);

// Shows the one message that belongs to a failed status; kOk shows nothing.
void ShowDibFailure(DibStatus status, const char* fileName);
