// LoadDibImage: maps a bitmap file, decodes it in memory (dib_memory.h) and shows the one message
// that belongs to the outcome.
#include "image/dib_loader.h"

#include "image/dib_memory.h"
#include "image/dib_messages.h"
#include "image/mapped_file.h"

RgbImage* LoadDibImage(const char* fileName) {
  RgbImage* image = nullptr;
  DibStatus status;
  {
    MappedFile file;
    status = file.Open(fileName) ? DecodeDibMemory(file.View(), &image) : DibStatus::kOpenFailed;
  }
  ShowDibFailure(status, fileName);
  return image;
}
