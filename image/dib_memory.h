// Decoding of a bitmap file that is already in memory: everything LoadDibImage does after mapping
// the file, without showing any message. Used by LoadDibImage and by the checks that want the
// bytes in an exactly sized buffer.
#pragma once

#include "image/byte_view.h"
#include "image/dib_status.h"
#include "image/rgb_image.h"

// On kOk, *result is a new malloc'd image (free data, then the record); otherwise it is untouched.
DibStatus DecodeDibMemory(ByteView file, RgbImage** result);
