// Text-mode line reading: line ends, carriage returns, control-Z, the 1023-character reads and the
// failed state, over memory and over real files (whose chunked reads must give the same lines).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/text_line_reader.h"

namespace {

struct ReadResult {
  std::vector<std::string> lines;  // lines read before the reader failed
};

ReadResult ReadAll(TextLineReader& reader) {
  ReadResult result;
  for (int guard = 0; guard < 100000; ++guard) {
    const std::string line = reader.ReadLine();
    if (reader.Failed()) {
      EXPECT_EQ(line, "");
      break;
    }
    result.lines.push_back(line);
  }
  return result;
}

std::vector<std::string> LinesOfMemory(const std::string& data) {
  TextLineReader reader;
  reader.OpenMemory(data.data(), data.size());
  return ReadAll(reader).lines;
}

std::vector<std::string> LinesOfFile(const std::string& data) {
  char path[] = "/tmp/strivex-lines-XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  FILE* file = fdopen(fd, "wb");
  std::fwrite(data.data(), 1, data.size(), file);
  std::fclose(file);
  TextLineReader reader;
  EXPECT_TRUE(reader.Open(path));
  std::vector<std::string> lines = ReadAll(reader).lines;
  std::remove(path);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReading, LineFeedsEndLinesAndAreNotPartOfThem) {
  EXPECT_EQ(LinesOfMemory("a\nbc\n\nd"), (Lines{"a", "bc", "", "d"}));
  EXPECT_EQ(LinesOfMemory(""), Lines{});
  EXPECT_EQ(LinesOfMemory("\n"), Lines{""});
}

TEST(LineReading, OnlyACarriageReturnRightBeforeALineFeedIsDropped) {
  EXPECT_EQ(LinesOfMemory("a\r\nb\rc\r\n\r\r\nend\r"), (Lines{"a", "b\rc", "\r", "end\r"}));
}

TEST(LineReading, ControlZEndsTheInput) {
  EXPECT_EQ(LinesOfMemory("a\nb\x1a" "c\nd\n"), (Lines{"a", "b"}));
  EXPECT_EQ(LinesOfFile("a\nb\x1a" "c\nd\n"), (Lines{"a", "b"}));
}

TEST(LineReading, LongLinesAreSplitAt1023Characters) {
  const std::string long1030(1030, 'x');
  EXPECT_EQ(LinesOfMemory(long1030 + "\nz\n"), (Lines{std::string(1023, 'x'), std::string(7, 'x'), "z"}));
  const std::string exact1023(1023, 'y');
  EXPECT_EQ(LinesOfMemory(exact1023 + "\nz"), (Lines{exact1023, "", "z"}));
  const std::string exact1022(1022, 'w');
  EXPECT_EQ(LinesOfMemory(exact1022 + "\nz"), (Lines{exact1022, "z"}));
  // The carriage return is dropped before the characters are counted.
  EXPECT_EQ(LinesOfMemory(exact1022 + "\r\nz"), (Lines{exact1022, "z"}));
  EXPECT_EQ(LinesOfMemory(exact1023 + "\r\nz"), (Lines{exact1023, "", "z"}));
}

TEST(LineReading, FailsOnlyWhenAReadFindsNothingAndStaysFailed) {
  TextLineReader reader;
  const std::string data = "last line without end";
  reader.OpenMemory(data.data(), data.size());
  EXPECT_STREQ(reader.ReadLine(), "last line without end");
  EXPECT_FALSE(reader.Failed());
  EXPECT_STREQ(reader.ReadLine(), "");
  EXPECT_TRUE(reader.Failed());
  EXPECT_STREQ(reader.ReadLine(), "");
  EXPECT_TRUE(reader.Failed());
}

TEST(LineReading, FilesGiveTheSameLinesAsMemoryAcrossChunkBoundaries) {
  // Lines of many lengths, with CR LF pairs landing on every position of the 64 KiB chunks.
  std::string data;
  for (int i = 0; i < 40000; ++i) {
    data.append(static_cast<size_t>(i * 7 % 1500), static_cast<char>('a' + i % 26));
    data += (i % 3 == 0) ? "\r\n" : (i % 3 == 1) ? "\n" : "\r\r\n";
  }
  EXPECT_EQ(LinesOfFile(data), LinesOfMemory(data));
}

TEST(LineReading, MissingFilesAndDirectoriesDoNotOpen) {
  TextLineReader reader;
  EXPECT_FALSE(reader.Open("/nonexistent/strivex/file.asc"));
  EXPECT_FALSE(reader.Open("/tmp"));
  EXPECT_FALSE(reader.IsOpen());
}

}  // namespace
