// Text-mode line reading over memory and over real files (whose 256 KiB reads must give the same
// lines): line ends, carriage returns, control-Z, the 1023-character reads and the failed state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_line_reader.h"
#include "support/text_source.h"

namespace {

using Lines = std::vector<std::string>;

// The lines read before the reader failed; once failed it keeps giving empty lines.
Lines LinesOf(const std::string& data, bool fromFile) {
  TextLineReader reader;
  EXPECT_TRUE(OpenText(reader, data, fromFile));
  Lines lines;
  for (const char* line = reader.ReadLine(); !reader.Failed(); line = reader.ReadLine()) {
    lines.emplace_back(line, reader.LineLength());
  }
  EXPECT_STREQ(reader.ReadLine(), "");
  EXPECT_TRUE(reader.Failed());
  return lines;
}

TEST(LineReading, TextModeRulesFromMemoryAndFromFiles) {
  const std::string x1023(1023, 'x'), x1022(1022, 'x');
  const struct {
    std::string data;
    Lines lines;
  } cases[] = {
      {"a\nbc\n\nd", {"a", "bc", "", "d"}},
      {"", {}},
      {"\n", {""}},
      {"a\r\nb\rc\r\n\r\r\nend\r", {"a", "b\rc", "\r", "end\r"}},
      {"a\nb\x1a" "c\nd\n", {"a", "b"}},
      {std::string("n\0ul\n\0", 6), {std::string("n\0ul", 4), std::string(1, '\0')}},
      {std::string(1030, 'x') + "\nz\n", {x1023, "xxxxxxx", "z"}},
      // From a file, the lines after the first are found in the read buffer in place.
      {"a\n" + x1023 + "\n" + x1023 + "\r\nz", {"a", x1023, "", x1023, "", "z"}},
      {x1022 + "\n" + x1022 + "\r\nz", {x1022, x1022, "z"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LinesOf(c.data, false), c.lines) << c.data;
    EXPECT_EQ(LinesOf(c.data, true), c.lines) << c.data;
  }
  // Lines of every length up to 1498, each with every ending and some with a CR or NUL of their own,
  // landing on every position of the 256 KiB reads.
  const char* const ends[4] = {"\n", "\r\n", "\r\r\n", "\r"};
  std::string data;
  for (int i = 0; i < 40000; ++i) {
    std::string line(i * 7 % 1499, static_cast<char>('a' + i % 26));
    if (i % 5 < 2 && !line.empty()) line[i * 13 % line.size()] = i % 5 ? '\0' : '\r';
    data += line + ends[i % 4];
  }
  EXPECT_TRUE(LinesOf(data, true) == LinesOf(data, false)) << "the file gives other lines than memory";
}

}  // namespace
