// The program-wide view values: written by the controls, read by the frame, the rig and the headless
// tools. They sit below every subsystem that reads them, as the clock does. Statically initialised,
// never reset. Invariant: textured and wireframe are never both 1.
#pragma once
#include <cstdint>

struct ViewState {
  uint8_t textured = 1;
  uint8_t wireframe = 0;
  uint8_t backgroundSet = 0;
  uint8_t manualMode = 0;
  uint32_t manualClock = 0;  // ms; 0 = the manual clock has not started
  uint32_t speedPeriod = 2000;  // ms: 4000, 2000 or 1000
  int32_t windowWidth = 500;
  int32_t windowHeight = 500;
  double azimuth = 180.0;  // degrees
  double elevation = 20.0;  // degrees, held within -10 to 80 by dragging
};

extern ViewState viewState;
