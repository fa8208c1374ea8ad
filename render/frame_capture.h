// Saving the window's image as the next numbered binary PPM file in images/ (manual mode).
// The directory is not created. A frame that cannot be saved is skipped: no partial file is left,
// the counter does not advance, and the failure is reported once on standard error (again only
// after a later successful save, after a different failure, or in a new manual run).
#pragma once

#include <cstdint>

// Number of the next image, and the count of images written in the whole run.
extern int32_t savedFrameCount;

// Writes the current window (viewState's size) to the next file name; advances savedFrameCount
// when the file was written.
void SaveFrameImage();

// Reads back the frame buffer (w x h, RGBA) and writes it as a P6 file, top row first. On success
// prints "Wrote W x H pixels image to file (N bytes)" on standard output and returns true.
bool WritePpmImage(const char* fileName, int32_t width, int32_t height);

// Forgets which failure was reported last, so that a new manual run hears about it again.
void BeginCaptureRun();
