// Line reading with the rules of a C runtime's text mode, over a file or a block of memory:
//   - a carriage return right before a line feed is dropped; any other carriage return stays;
//   - a control-Z (code 26) ends the input, as if the file ended right before it;
//   - one read takes at most 1023 characters (a line feed counts as one of them), so a longer
//     line is split, and a line of exactly 1023 characters is followed by an empty one;
//   - a read that finds no character at all puts the reader in the failed state, and from then on
//     every read gives an empty line. Reaching the end while a line has characters is no failure.
// From a file, lines are ended in place in the reader's read buffer; from memory, and for the pieces
// of a long line, one line at a time is copied into a 1024-byte buffer. The reader never looks past
// the data it was given or read from the file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

class TextLineReader {
 public:
  static constexpr int kLineBufferSize = 1024;

  TextLineReader();
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // Opens an existing file for reading. A directory, or anything that cannot be read, does not open;
  // errno then tells why (EISDIR for a directory).
  bool Open(const char* path);
  // Reads from caller-owned memory, which must outlive the reader's use of it.
  void OpenMemory(const char* data, size_t size);
  bool IsOpen() const { return isOpen; }
  void Close();

  // The next line, NUL-terminated, without its line feed. Valid until the next call. Inline: the
  // scene reader calls it for every line.
  const char* ReadLine();
  // The characters of the line read last, up to the NUL that ends it (a NUL read from the data may
  // come earlier).
  size_t LineLength() const { return lineLength; }
  bool Failed() const { return failed; }
  // The file gave a read error; the input ended there.
  bool ReadError() const { return readError; }

  // An upper bound of the input bytes not yet consumed (for sizing against what the data can hold).
  uint64_t RemainingBytesBound() const;

 private:
  static constexpr size_t kMaxReadCharacters = kLineBufferSize - 1;

  // The first line feed among the 1023 characters at p, where at least that many can be read; null
  // when there is none.
  [[gnu::always_inline]] static const char* FindLineFeed(const char* p) {
    return static_cast<const char*>(std::memchr(p, '\n', kMaxReadCharacters));
  }

  bool FillWindow();  // makes at least kLookahead bytes visible, or everything up to the end
  // ReadLine in every case; kept apart so that the common case stays a small function.
  [[gnu::noinline]] const char* ReadAnyLine();

  static constexpr size_t kLookahead = kLineBufferSize + 1;  // 1023 characters, a CR and a LF
  static_assert(kLookahead >= kMaxReadCharacters, "ReadLine's short path searches a whole read's worth in view");
  // Each read() call costs microseconds where the kernel runs virtualised, so reads are large; a
  // read's worth still fits a core's second-level cache, where the lines are taken from.
  static constexpr size_t kChunkSize = 1 << 18;

  char line[kLineBufferSize];
  size_t lineLength = 0;
  const char* cursor = nullptr;
  const char* limit = nullptr;
  char* chunk = nullptr;  // file mode only; one byte more than kChunkSize
  int fd = -1;
  bool isOpen = false;
  bool failed = false;
  bool inputEnded = false;  // nothing beyond `limit` will ever come
  bool readError = false;
  uint64_t unreadFileBytes = 0;  // file mode: size not yet pulled into the chunk (regular files)
  bool sizeKnown = true;
};

inline const char* TextLineReader::ReadLine() {
  // The common case first: reading a file with a whole read's worth in view, and a line feed within
  // the 1023 characters one read may take. Everything else takes the general path below. (A failed
  // reader has nothing in view.)
  if (chunk != nullptr && static_cast<size_t>(limit - cursor) >= kLookahead) {
    const char* feed = FindLineFeed(cursor);
    if (feed != nullptr) {
      char* own = chunk + (cursor - chunk);
      size_t content = static_cast<size_t>(feed - cursor);
      if (content > 0 && feed[-1] == '\r') --content;
      own[content] = '\0';
      lineLength = content;
      cursor = feed + 1;
      return own;
    }
  }
  return ReadAnyLine();
}
