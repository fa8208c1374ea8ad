#include "tools/frame_files/frame_image.h"

#include <GL/gl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "render/ppm_image.h"
#include "tools/frame_files/png_file.h"

namespace {

bool WritePpmFile(const char* path, const FrameImage& image, char* error, size_t errorSize) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::snprintf(error, errorSize, "cannot create %s: %s", path, std::strerror(errno));
    return false;
  }
  char header[PpmHeaderSize];
  const size_t headerLength = FormatPpmHeader(image.width, image.height, header);
  errno = 0;
  bool ok = std::fwrite(header, 1, headerLength, file) == headerLength &&
            std::fwrite(image.rgb.data(), 1, image.rgb.size(), file) == image.rgb.size();
  // A full disk often shows only when the buffered rest is flushed on close.
  ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    std::snprintf(error, errorSize, "writing %s failed: %s", path, std::strerror(errno != 0 ? errno : EIO));
    std::remove(path);
  }
  return ok;
}

}  // namespace

void ReadBackFrame(int width, int height, FrameImage* image) {
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<unsigned char> rgba(pixels * 4);
  image->width = width;
  image->height = height;
  image->rgb.resize(pixels * 3);
  glFinish();
  // RGBA rows are whole multiples of four bytes, so the default pack alignment fits.
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  FlipRgbaToRgb(rgba.data(), width, height, image->rgb.data());
}

bool WriteFrameFile(const char* path, FrameFormat format, const FrameImage& image, char* error, size_t errorSize) {
  if (format == FrameFormat::Png) {
    return WritePngFile(path, image.width, image.height, image.rgb.data(), error, errorSize);
  }
  return WritePpmFile(path, image, error, errorSize);
}

const char* FrameFileExtension(FrameFormat format) { return format == FrameFormat::Png ? ".png" : ".ppm"; }
