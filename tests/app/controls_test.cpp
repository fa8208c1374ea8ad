// The controls through the toolkit seam: the render-mode transitions, the speed entries and their
// single SetSpeed, the menu labels after every choice, the keys, and the drag arithmetic.
#include <gtest/gtest.h>

#include <GL/glut.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/menu.h"
#include "platform/toolkit.h"
#include "platform/view_state.h"
#include "motion/part_table.h"
#include "platform/clock.h"

namespace {

struct Relabel {
  int position;
  std::string label;
  int value;
};

std::vector<Relabel> relabels;
int redisplays = 0;

void RecordMenu(int position, const char* label, int value) { relabels.push_back({position, label, value}); }
void RecordRedisplay() { ++redisplays; }
void NoSwap() {}
uint32_t FixedClock() { return 100000; }

enum class Mode { Textured, Solid, Wireframe };

Mode CurrentMode() {
  EXPECT_FALSE(viewState.textured && viewState.wireframe);
  return viewState.textured ? Mode::Textured : viewState.wireframe ? Mode::Wireframe : Mode::Solid;
}

void SetMode(Mode mode) {
  viewState.textured = mode == Mode::Textured;
  viewState.wireframe = mode == Mode::Wireframe;
}

class Controls : public testing::Test {
 protected:
  void SetUp() override {
    saved = viewState;
    savedToolkit = toolkit;
    toolkit = {NoSwap, RecordRedisplay, RecordMenu};
    SetClockSource(FixedClock);
    relabels.clear();
    redisplays = 0;
  }
  void TearDown() override {
    HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
    viewState = saved;
    toolkit = savedToolkit;
    SetClockSource(nullptr);
  }

  // The label last written to each of positions 1 to 6 ("" if none).
  std::vector<std::string> LastLabels() {
    std::vector<std::string> labels(7);
    for (const Relabel& r : relabels) labels[r.position] = r.label;
    return labels;
  }

  ViewState saved;
  ToolkitCalls savedToolkit;
};

TEST_F(Controls, RenderModeTransitionTable) {
  const Mode before[3] = {Mode::Textured, Mode::Solid, Mode::Wireframe};
  // Rows: mode before; columns: Textures, Solid, Wireframe.
  const Mode after[3][3] = {{Mode::Solid, Mode::Solid, Mode::Wireframe},
                            {Mode::Textured, Mode::Textured, Mode::Wireframe},
                            {Mode::Textured, Mode::Solid, Mode::Solid}};
  const char keys[3] = {'q', 'w', 'e'};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      SetMode(before[row]);
      ApplyMenuChoice(column);
      EXPECT_EQ(CurrentMode(), after[row][column]) << "menu, row " << row << " column " << column;
      SetMode(before[row]);
      HandleKey(static_cast<unsigned char>(keys[column]), 0, 0);
      EXPECT_EQ(CurrentMode(), after[row][column]) << "key, row " << row << " column " << column;
    }
  }
}

TEST_F(Controls, EveryChoiceMarksExactlyTheCurrentModeWithItsOwnValues) {
  const char* names[3] = {"Textures", "Solid", "Wireframe"};
  const int values[] = {0, 1, 2, 10, 11, 12, 7, -1, 2, 2, 0, 1, 1};
  for (int v : values) {
    relabels.clear();
    ApplyMenuChoice(v);
    int marked = 0;
    for (const Relabel& r : relabels) {
      if (r.position > 3) continue;
      EXPECT_EQ(r.value, r.position - 1);
      const bool active = r.label.rfind("o ", 0) == 0;
      EXPECT_EQ(r.label, (active ? "o " : "   ") + std::string(names[r.position - 1]));
      if (active) {
        ++marked;
        EXPECT_EQ(static_cast<int>(CurrentMode()), r.position - 1) << "value " << v;
      }
    }
    EXPECT_EQ(marked, 1) << "value " << v;
    EXPECT_EQ(LastLabels()[1].empty() + LastLabels()[2].empty() + LastLabels()[3].empty(), 0);
  }
}

TEST_F(Controls, SpeedChoiceSetsThePeriodOnceAndRewritesAllThreeLabels) {
  const struct {
    unsigned char key;
    uint32_t period;
    const char* labels[3];
  } cases[] = {{'1', 4000, {"o Slow", "   Medium", "   Fast"}},
               {'3', 1000, {"   Slow", "   Medium", "o Fast"}},
               {'2', 2000, {"   Slow", "o Medium", "   Fast"}},
               {'2', 2000, {"   Slow", "o Medium", "   Fast"}}};  // the current speed again
  for (const auto& c : cases) {
    relabels.clear();
    partTable.parts[6].period = 1234;
    HandleKey(c.key, 0, 0);
    EXPECT_EQ(viewState.speedPeriod, c.period);
    EXPECT_EQ(partTable.parts[6].period, c.period) << "SetSpeed re-times the parts even for the same speed";
    int speedRelabels = 0;
    for (const Relabel& r : relabels) {
      if (r.position < 4) continue;
      ++speedRelabels;
      EXPECT_EQ(r.label, c.labels[r.position - 4]);
      EXPECT_EQ(r.value, r.position + 6);
    }
    EXPECT_EQ(speedRelabels, 3);
  }
}

TEST_F(Controls, KeysManualModeAndBackgroundSet) {
  viewState.manualMode = 0;
  viewState.manualClock = 0;
  HandleKey('m', 0, 0);
  EXPECT_EQ(viewState.manualMode, 1);
  viewState.manualClock = 5000;
  HandleKey('m', 0, 0);
  EXPECT_EQ(viewState.manualClock, 5000u) << "m while on keeps the clock running";
  HandleKey('d', 0, 0);
  EXPECT_EQ(viewState.manualMode, 0);
  EXPECT_EQ(viewState.manualClock, 0u);
  const uint8_t background = viewState.backgroundSet;
  HandleKey('s', 0, 0);
  EXPECT_NE(viewState.backgroundSet, background);
  HandleKey('s', 0, 0);
  EXPECT_EQ(viewState.backgroundSet, background);
}

TEST_F(Controls, UpperCaseAndOtherKeysOnlyRequestARedisplay) {
  const ViewState before = viewState;
  for (unsigned char key : std::string("QWEMDS!0 49\x1b\x7f")) {
    redisplays = 0;
    HandleKey(key, 10, 10);
    EXPECT_EQ(redisplays, 1) << key;
  }
  HandleKey(0xFF, 0, 0);
  EXPECT_TRUE(relabels.empty());
  EXPECT_EQ(viewState.textured, before.textured);
  EXPECT_EQ(viewState.wireframe, before.wireframe);
  EXPECT_EQ(viewState.manualMode, before.manualMode);
  EXPECT_EQ(viewState.backgroundSet, before.backgroundSet);
  EXPECT_EQ(viewState.speedPeriod, before.speedPeriod);
}

TEST_F(Controls, DragElevationIsBoundedAndRecomputedFromThePress) {
  viewState.elevation = 20.0;
  viewState.azimuth = 180.0;
  HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 200);
  HandleMouseMotion(300, 100);  // 100 pixels up
  EXPECT_EQ(viewState.elevation, -10.0);
  HandleMouseMotion(300, 400);  // 200 pixels down from the press
  EXPECT_EQ(viewState.elevation, 80.0);
  HandleMouseMotion(300, 139);
  EXPECT_EQ(viewState.elevation, -10.0) << "-10.5 is held at the bound";
  HandleMouseMotion(300, 319);
  EXPECT_EQ(viewState.elevation, 79.5);
  HandleMouseMotion(300, 200);
  EXPECT_EQ(viewState.elevation, 20.0);
  EXPECT_EQ(viewState.azimuth, 180.0);
  HandleMouseMotion(1020, 200);  // 720 pixels right: a whole turn, not folded back
  EXPECT_EQ(viewState.azimuth, 540.0);
  HandleMouseMotion(-420, 200);
  EXPECT_EQ(viewState.azimuth, -180.0);
}

TEST_F(Controls, MotionWithoutADragAndOtherButtonsChangeNoAngle) {
  viewState.elevation = 33.0;
  viewState.azimuth = 12.0;
  HandleMouseMotion(5000, -5000);
  HandleMouseButton(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 0, 0);
  HandleMouseMotion(100, 100);
  HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 10);
  HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 10, 10);
  redisplays = 0;
  HandleMouseMotion(400, 400);
  EXPECT_EQ(redisplays, 1);
  EXPECT_EQ(viewState.elevation, 33.0);
  EXPECT_EQ(viewState.azimuth, 12.0);
}

TEST(Menu, InitialEntriesAgreeWithTheInitialViewState) {
  const auto& entries = InitialMenuEntries();
  const std::vector<std::string> labels = {"o Textures", "   Solid", "   Wireframe", "   Slow", "o Medium", "   Fast"};
  const int values[] = {0, 1, 2, 10, 11, 12};
  for (int i = 0; i < MenuEntryCount; ++i) {
    EXPECT_EQ(entries[i].label, labels[i]);
    EXPECT_EQ(entries[i].value, values[i]);
  }
  const ViewState initial;
  EXPECT_EQ(initial.textured, 1);
  EXPECT_EQ(initial.speedPeriod, 2000u);
}

}  // namespace
