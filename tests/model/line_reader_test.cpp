// Text-mode line reading over memory and over real files (whose 256 KiB reads must give the same
// lines): line ends, carriage returns, control-Z, the 1023-character reads and the failed state.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/text_line_reader.h"

namespace {

using Lines = std::vector<std::string>;

// The lines read before the reader failed; once failed it keeps giving empty lines.
Lines LinesOf(const std::string& data, bool fromFile) {
  char path[] = "/tmp/strivex-lines-XXXXXX";
  TextLineReader reader;
  FILE* file = fromFile ? fdopen(mkstemp(path), "wb") : nullptr;
  if (file != nullptr) {
    std::fwrite(data.data(), 1, data.size(), file);
    std::fclose(file);
    EXPECT_TRUE(reader.Open(path));
    std::remove(path);
  } else {
    reader.OpenMemory(data.data(), data.size());
  }
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
      {x1023 + "\n" + x1023 + "\r\nz", {x1023, "", x1023, "", "z"}},
      {x1022 + "\n" + x1022 + "\r\nz", {x1022, x1022, "z"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LinesOf(c.data, false), c.lines) << c.data;
    EXPECT_EQ(LinesOf(c.data, true), c.lines) << c.data;
  }
  // Lines of many lengths, with CR LF pairs landing on every position of the 256 KiB reads.
  std::string data;
  for (int i = 0; i < 40000; ++i) data += std::string(i * 7 % 1500, 'a' + i % 26) + (i % 3 ? "\r\r\n" : "\r\n");
  EXPECT_EQ(LinesOf(data, true), LinesOf(data, false));
}

}  // namespace
