#include "tools/frame_files/numbered_frames.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "tools/frame_files/frame_image.h"

namespace {

// The frame number of a file name "image<digits>.ppm" or ".png" with at least three digits, or -1.
long long FrameNumber(const std::string& name, FrameFormat* format) {
  constexpr size_t PrefixLength = 5, ExtensionLength = 4;
  if (name.size() < PrefixLength + 3 + ExtensionLength || name.compare(0, PrefixLength, "image") != 0) return -1;
  const std::string extension = name.substr(name.size() - ExtensionLength);
  if (extension == ".ppm") *format = FrameFormat::Ppm;
  else if (extension == ".png") *format = FrameFormat::Png;
  else return -1;
  const size_t digits = name.size() - PrefixLength - ExtensionLength;
  if (digits > 12) return -1;
  long long number = 0;
  for (size_t i = PrefixLength; i < PrefixLength + digits; ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    number = number * 10 + (name[i] - '0');
  }
  return number;
}

}  // namespace

std::string NumberedFrameName(const std::string& directory, int number, FrameFormat format) {
  char name[32];
  std::snprintf(name, sizeof name, "/image%03d%s", number, FrameFileExtension(format));
  return directory + name;
}

OlderFrames FindOlderFrames(const std::string& directory, int written, FrameFormat format) {
  OlderFrames older;
  long long lowest = 0, highest = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    const std::string name = entry.path().filename().string();
    FrameFormat found = FrameFormat::Ppm;
    const long long number = FrameNumber(name, &found);
    if (number < 0 || (found == format && number < written)) continue;
    if (older.count == 0 || number < lowest) {
      lowest = number;
      older.first = name;
    }
    if (older.count == 0 || number > highest) {
      highest = number;
      older.last = name;
    }
    ++older.count;
  }
  return older;
}

bool RemoveNumberedFrames(const std::string& directory, char* error, size_t errorSize) {
  // Collected first: a directory that changes while it is read may show an entry twice or not at all.
  std::vector<std::filesystem::path> frames;
  std::error_code failure;
  for (const auto& entry : std::filesystem::directory_iterator(directory, failure)) {
    FrameFormat found = FrameFormat::Ppm;
    if (FrameNumber(entry.path().filename().string(), &found) >= 0) frames.push_back(entry.path());
  }
  for (size_t i = 0; i < frames.size() && !failure; ++i) std::filesystem::remove(frames[i], failure);
  if (failure) {
    std::snprintf(error, errorSize, "cannot remove the older frames in %s: %s", directory.c_str(),
                  failure.message().c_str());
  }
  return !failure;
}
