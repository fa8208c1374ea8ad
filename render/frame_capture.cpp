// SaveFrameImage and WritePpmImage: frame buffer read-back into a P6 file, with failures reported
// once per streak instead of once per frame.
#include "render/frame_capture.h"

#include <GL/gl.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/view_state.h"
#include "render/ppm_image.h"

int32_t savedFrameCount = 0;

namespace {

enum class CaptureOutcome { Written, OutOfMemory, CannotCreate, WriteFailed };

// Manual mode saves every frame; a missing images/ directory would otherwise print a line per
// frame, many per second.
CaptureOutcome lastOutcome = CaptureOutcome::Written;

void NoteOutcome(CaptureOutcome outcome, const char* fileName, int errorNumber) {
  const bool report = outcome != CaptureOutcome::Written && outcome != lastOutcome;
  lastOutcome = outcome;
  if (!report) return;
  switch (outcome) {
    case CaptureOutcome::OutOfMemory:
      std::fprintf(stderr, "Frame not saved: out of memory for the image of %s.\n", fileName);
      break;
    case CaptureOutcome::CannotCreate:
      std::fprintf(stderr, "Frame not saved: cannot create %s (%s). The images/ directory must exist; "
                   "frames are not saved until it can be written.\n", fileName, std::strerror(errorNumber));
      break;
    case CaptureOutcome::WriteFailed:
      std::fprintf(stderr, "Frame not saved: writing %s failed (%s); the incomplete file was removed.\n",
                   fileName, std::strerror(errorNumber));
      break;
    case CaptureOutcome::Written:
      break;
  }
  std::fflush(stderr);
}

// Bytes of a w x h image at the given bytes per pixel, or 0 with *ok false when it cannot be
// addressed.
size_t ImageBytes(int32_t width, int32_t height, size_t bytesPerPixel, bool* ok) {
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  *ok = pixels <= SIZE_MAX / bytesPerPixel;
  return *ok ? static_cast<size_t>(pixels) * bytesPerPixel : 0;
}

// Writes the whole file; on any failure removes what was created and returns the errno.
int WriteFile(const char* fileName, const char* header, size_t headerLength, const unsigned char* raster,
              size_t rasterLength, CaptureOutcome* outcome) {
  std::FILE* file = std::fopen(fileName, "wb");
  if (file == nullptr) {
    *outcome = CaptureOutcome::CannotCreate;
    return errno;
  }
  errno = 0;
  bool ok = std::fwrite(header, 1, headerLength, file) == headerLength;
  if (ok && rasterLength > 0) ok = std::fwrite(raster, 1, rasterLength, file) == rasterLength;
  int errorNumber = errno;
  // A full disk often shows only when the buffered rest is flushed on close.
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    errorNumber = errno;
  }
  if (!ok) {
    std::remove(fileName);
    *outcome = CaptureOutcome::WriteFailed;
    return errorNumber != 0 ? errorNumber : EIO;
  }
  *outcome = CaptureOutcome::Written;
  return 0;
}

}  // namespace

void BeginCaptureRun() { lastOutcome = CaptureOutcome::Written; }

bool WritePpmImage(const char* fileName, int32_t width, int32_t height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  bool readBackOk = false, rasterOk = false;
  const size_t readBackBytes = ImageBytes(width, height, 4, &readBackOk);
  const size_t rasterBytes = ImageBytes(width, height, 3, &rasterOk);
  const bool sizeOk = readBackOk && rasterOk;
  // An empty window still gets its file, so allocate at least one byte to tell failure from size 0.
  unsigned char* readBack = sizeOk ? static_cast<unsigned char*>(std::malloc(readBackBytes + 1)) : nullptr;
  unsigned char* raster = sizeOk ? static_cast<unsigned char*>(std::malloc(rasterBytes + 1)) : nullptr;
  if (readBack == nullptr || raster == nullptr) {
    std::free(readBack);
    std::free(raster);
    NoteOutcome(CaptureOutcome::OutOfMemory, fileName, 0);
    return false;
  }
  glFinish();
  if (readBackBytes > 0) glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, readBack);
  FlipRgbaToRgb(readBack, width, height, raster);

  char header[PpmHeaderSize];
  const size_t headerLength = FormatPpmHeader(width, height, header);
  CaptureOutcome outcome = CaptureOutcome::Written;
  const int errorNumber = WriteFile(fileName, header, headerLength, raster, rasterBytes, &outcome);
  std::free(readBack);
  std::free(raster);
  NoteOutcome(outcome, fileName, errorNumber);
  if (outcome != CaptureOutcome::Written) return false;
  std::printf("Wrote %d x %d pixels image to file (%llu bytes)\n", static_cast<int>(width), static_cast<int>(height),
              static_cast<unsigned long long>(rasterBytes));
  return true;
}

void SaveFrameImage() {
  char fileName[FrameImageNameSize];
  FrameImageName(savedFrameCount, fileName);
  // The number only advances for a written file, so the saved sequence has no gaps.
  if (WritePpmImage(fileName, viewState.windowWidth, viewState.windowHeight)) ++savedFrameCount;
}
