// Loading of a device-independent bitmap (.bmp) file into an RgbImage.
#pragma once

#include "image/rgb_image.h"

// Returns a malloc'd image (free data, then the record), or null after showing exactly one
// error message.
RgbImage* LoadDibImage(const char* fileName);
