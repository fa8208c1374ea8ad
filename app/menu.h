// The pop-up menu's entries and their radio-marked labels: "o " before the active choice, three
// blanks before an inactive one. Entries are addressed by position, counted from 1.
#pragma once

struct MenuEntry {
  const char* label;
  int value;
};

constexpr int MenuEntryCount = 6;

// Positions 1 to 6 as the menu is built: Textures, Solid, Wireframe, Slow, Medium, Fast.
const MenuEntry (&InitialMenuEntries())[MenuEntryCount];

// The label of the entry at a position (1 to 6), active or inactive.
const char* MenuLabel(int position, bool active);
