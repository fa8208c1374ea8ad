// The controls through the toolkit seam: render-mode and speed choices by key and by menu with the
// labels they leave, the other keys, and the drag.
#include "app/controls.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "motion/part_table.h"
#include "platform/toolkit.h"
#include "platform/view_state.h"

namespace {

std::string labels[7];  // the label last written to each menu position
int values[7], redisplays = 0;

class Controls : public testing::Test {
 protected:
  void SetUp() override {
    toolkit = {[] {}, [] { ++redisplays; },
               [](int p, const char* label, int value) { labels[p] = label, values[p] = value; }};
    viewState = ViewState{};
  }
  void TearDown() override {
    HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
    viewState = saved;
    toolkit = savedToolkit;
  }
  ViewState saved = viewState;
  ToolkitCalls savedToolkit = toolkit;
};

TEST_F(Controls, ChoicesByKeyAndMenuFollowTheTransitionTableAndRelabel) {
  const char* names[6] = {"Textures", "Solid", "Wireframe", "Slow", "Medium", "Fast"};
  // Marks of positions 1-6 after each step: 'o' active, '-' inactive, ' ' not rewritten.
  const struct { char key; int value; const char* marks; } steps[] = {
      {'q', 0, "-o-   "}, {'q', 0, "o--   "},  {'w', 1, "-o-   "},  {'w', 1, "o--   "},  {'e', 2, "--o   "},
      {'e', 2, "-o-   "}, {'e', 2, "--o   "},  {'w', 1, "-o-   "},  {'e', 2, "--o   "},  {'q', 0, "o--   "},
      {'e', 2, "--o   "}, {'1', 10, "--oo--"}, {'3', 12, "--o--o"}, {'2', 11, "--o-o-"}, {'2', 11, "--o-o-"},
      {0, 7, "--o   "},   {0, -1, "--o   "}};
  for (bool byKey : {true, false}) {
    viewState = ViewState{};
    for (const auto& s : steps) {
      if (byKey && s.key == 0) continue;
      for (std::string& label : labels) label.clear();
      partTable.parts[6].period = 1;
      byKey ? HandleKey(static_cast<unsigned char>(s.key), 0, 0) : ApplyMenuChoice(s.value);
      for (int p = 1; p <= 6; ++p) {
        const char mark = s.marks[p - 1];
        if (mark == ' ') continue;
        EXPECT_EQ(labels[p], (mark == 'o' ? "o " : "   ") + std::string(names[p - 1])) << s.value << " by key " << byKey;
        EXPECT_EQ(values[p], p < 4 ? p - 1 : p + 6);
        if (mark == 'o' && p >= 4) {
          EXPECT_EQ(viewState.speedPeriod, 4000u >> (p - 4));
          EXPECT_EQ(partTable.parts[6].period, viewState.speedPeriod) << "SetSpeed not called";
        }
      }
    }
  }
}

TEST_F(Controls, ManualBackgroundAndIgnoredKeys) {
  // Textured, wireframe, manual mode, background set, speed period, manual clock.
  auto state = [v = &viewState] {
    return std::vector<uint32_t>{v->textured, v->wireframe, v->manualMode, v->backgroundSet, v->speedPeriod, v->manualClock};
  };
  HandleKey('m', 0, 0);
  viewState.manualClock = 5000;
  HandleKey('m', 0, 0);  // already on: the clock runs on
  HandleKey('s', 0, 0);
  const std::vector<uint32_t> before = state();
  EXPECT_EQ(before, (std::vector<uint32_t>{1, 0, 1, 1, 2000, 5000}));
  redisplays = 0;
  for (unsigned char key : std::string("QWEMDS!0 49\x1b\xff")) HandleKey(key, 1, 1);
  EXPECT_EQ(redisplays, 13);
  EXPECT_EQ(state(), before);
  HandleKey('s', 0, 0);
  HandleKey('d', 0, 0);
  EXPECT_EQ(state(), (std::vector<uint32_t>{1, 0, 0, 0, 2000, 0}));
}

TEST_F(Controls, DragIsRecomputedFromThePressAndBounded) {
  HandleMouseMotion(0, 900);  // no drag yet
  HandleMouseButton(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 0, 0);
  HandleMouseMotion(0, 900);
  HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 200);  // at azimuth 180, elevation 20
  HandleMouseButton(GLUT_MIDDLE_BUTTON, GLUT_UP, 0, 0);      // only the left button's release ends the drag
  const struct { int x, y; double azimuth, elevation; } moves[] = {
      {300, 100, 180, -10}, {300, 139, 180, -10}, {301, 141, 180.5, -9.5}, {300, 319, 180, 79.5},
      {300, 400, 180, 80},  {300, 200, 180, 20},  {1020, 200, 540, 20},    {-420, 201, -180, 20.5}};
  for (const auto& m : moves) {
    HandleMouseMotion(m.x, m.y);
    EXPECT_EQ(viewState.azimuth, m.azimuth) << m.x << "," << m.y;
    EXPECT_EQ(viewState.elevation, m.elevation) << m.x << "," << m.y;
  }
  HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
  redisplays = 0;
  HandleMouseMotion(5, 5);
  EXPECT_EQ(viewState.azimuth, -180);
  EXPECT_EQ(viewState.elevation, 20.5);
  EXPECT_EQ(redisplays, 1);
}

}  // namespace
