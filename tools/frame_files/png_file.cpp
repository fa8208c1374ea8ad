#include "tools/frame_files/png_file.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

// libpng reports through a callback and unwinds with longjmp; its message is kept for the caller.
struct PngFailure {
  char text[200];
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
  std::snprintf(failure->text, sizeof failure->text, "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Everything that may be touched after a longjmp lives outside the function that calls setjmp.
struct PngWrite {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  PngFailure failure{};
};

bool Encode(PngWrite* w, int width, int height, const unsigned char* rgb) {
  if (setjmp(png_jmpbuf(w->png))) return false;
  png_init_io(w->png, w->file);
  png_set_IHDR(w->png, w->info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(w->png, w->info);
  const size_t stride = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) png_write_row(w->png, rgb + stride * static_cast<size_t>(y));
  png_write_end(w->png, nullptr);
  return true;
}

}  // namespace

bool WritePngFile(const char* path, int width, int height, const unsigned char* rgb, char* error, size_t errorSize) {
  PngWrite w;
  w.file = std::fopen(path, "wb");
  if (w.file == nullptr) {
    std::snprintf(error, errorSize, "cannot create %s: %s", path, std::strerror(errno));
    return false;
  }
  w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &w.failure, OnPngError, OnPngWarning);
  if (w.png != nullptr) w.info = png_create_info_struct(w.png);
  bool ok = w.info != nullptr && Encode(&w, width, height, rgb);
  if (w.png == nullptr || w.info == nullptr) std::snprintf(w.failure.text, sizeof w.failure.text, "out of memory");
  png_destroy_write_struct(&w.png, &w.info);
  // A full disk often shows only when the buffered rest is flushed on close.
  errno = 0;
  const bool written = !std::ferror(w.file);
  const bool closed = std::fclose(w.file) == 0;
  if (ok && (!written || !closed)) {
    std::snprintf(w.failure.text, sizeof w.failure.text, "%s", std::strerror(errno != 0 ? errno : EIO));
    ok = false;
  }
  if (!ok) {
    std::remove(path);
    std::snprintf(error, errorSize, "writing %s failed: %s", path, w.failure.text);
  }
  return ok;
}
