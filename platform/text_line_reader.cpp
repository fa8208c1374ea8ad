#include "platform/text_line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kControlZ = 26;

}  // namespace

TextLineReader::TextLineReader() { line[0] = '\0'; }

TextLineReader::~TextLineReader() { Close(); }

bool TextLineReader::Open(const char* path) {
  Close();
  const int handle = ::open(path, O_RDONLY | O_CLOEXEC);
  if (handle < 0) return false;
  struct stat info {};
  if (fstat(handle, &info) != 0 || S_ISDIR(info.st_mode)) {
    const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
    ::close(handle);
    errno = error;
    return false;
  }
  chunk = static_cast<char*>(std::malloc(kChunkSize + 1));  // + the end of a last line without a feed
  if (!chunk) {
    ::close(handle);
    return false;
  }
  fd = handle;
  sizeKnown = S_ISREG(info.st_mode);
  unreadFileBytes = sizeKnown ? static_cast<uint64_t>(info.st_size) : 0;
  cursor = limit = chunk;
  isOpen = true;
  failed = false;
  inputEnded = false;
  readError = false;
  return true;
}

void TextLineReader::OpenMemory(const char* data, size_t size) {
  Close();
  const void* stop = std::memchr(data, kControlZ, size);
  cursor = data;
  limit = stop ? static_cast<const char*>(stop) : data + size;
  isOpen = true;
  failed = false;
  inputEnded = true;
  readError = false;
  sizeKnown = true;
  unreadFileBytes = 0;
}

void TextLineReader::Close() {
  if (fd >= 0) ::close(fd);
  fd = -1;
  std::free(chunk);
  chunk = nullptr;
  cursor = limit = nullptr;
  isOpen = false;
}

bool TextLineReader::FillWindow() {
  size_t visible = static_cast<size_t>(limit - cursor);
  if (inputEnded || visible >= kLookahead) return visible > 0;
  std::memmove(chunk, cursor, visible);
  cursor = chunk;
  limit = chunk + visible;
  while (!inputEnded && visible < kLookahead) {
    const ssize_t got = ::read(fd, chunk + visible, kChunkSize - visible);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {  // end of file, or a read error: either way nothing more arrives
      inputEnded = true;
      readError = got < 0;
      break;
    }
    const size_t fresh = static_cast<size_t>(got);
    unreadFileBytes -= (sizeKnown && fresh <= unreadFileBytes) ? fresh : unreadFileBytes;
    const void* stop = std::memchr(chunk + visible, kControlZ, fresh);
    if (stop) {
      visible = static_cast<size_t>(static_cast<const char*>(stop) - chunk);
      inputEnded = true;
    } else {
      visible += fresh;
    }
    limit = chunk + visible;
  }
  return visible > 0;
}

const char* TextLineReader::ReadAnyLine() {
  line[0] = '\0';
  lineLength = 0;
  if (failed || !isOpen) {
    failed = true;
    return line;
  }
  // Refilling is needed only when less than a whole read's worth is left in view.
  if (static_cast<size_t>(limit - cursor) < kLookahead && !FillWindow()) {
    failed = true;
    return line;
  }
  const size_t visible = static_cast<size_t>(limit - cursor);
  const size_t window = visible < kLookahead ? visible : kLookahead;
  const char* feed = static_cast<const char*>(std::memchr(cursor, '\n', window));
  size_t take;
  size_t consume;
  if (feed) {
    size_t content = static_cast<size_t>(feed - cursor);
    if (content > 0 && feed[-1] == '\r') --content;  // text mode drops CR before LF
    if (content < kMaxReadCharacters) {
      take = content;
      consume = static_cast<size_t>(feed - cursor) + 1;
    } else {
      take = consume = kMaxReadCharacters;
    }
  } else {
    take = consume = window < kMaxReadCharacters ? window : kMaxReadCharacters;
  }
  const char* start = cursor;
  cursor += consume;
  lineLength = take;
  // In the reader's own chunk a line ends in place, over the line end it consumed or just past the
  // data at the end of the input. A piece of a longer line is followed by characters still to be
  // read, and memory is the caller's: those are copied.
  if (chunk != nullptr && (consume > take || cursor == limit)) {
    char* own = chunk + (start - chunk);
    own[take] = '\0';
    return own;
  }
  // Through the C library: the copy the compiler inlines for an unknown size starts slowly, and
  // most lines are short.
  std::memmove(line, start, take);
  line[take] = '\0';
  return line;
}

uint64_t TextLineReader::RemainingBytesBound() const {
  const uint64_t visible = static_cast<uint64_t>(limit - cursor);
  if (!sizeKnown) return UINT64_MAX;
  return visible + unreadFileBytes;
}
