// Read-only file mapping on POSIX. The descriptor is closed as soon as the mapping exists: the
// mapping keeps the file's pages reachable by itself.
#include "image/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::~MappedFile() {
  if (base != nullptr) munmap(base, size);
}

bool MappedFile::Open(const char* path) {
  if (path == nullptr || base != nullptr) return false;
  // Non-blocking, so that naming a pipe cannot hang the program before the type check rejects it.
  int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info;
  bool mappable = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
  void* mapped = MAP_FAILED;
  if (mappable) {
    mapped = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  }
  close(fd);
  if (mapped == MAP_FAILED) return false;
  base = mapped;
  size = static_cast<size_t>(info.st_size);
  return true;
}
