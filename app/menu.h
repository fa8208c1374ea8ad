// The pop-up menu in one table: each entry's position (counted from 1, as the toolkit counts
// them), the value that choosing it hands to ApplyMenuChoice, and its two radio-marked labels, "o "
// before the active choice and three blanks before an inactive one.
#pragma once

enum MenuValue : int {
  TexturesChoice = 0,
  SolidChoice = 1,
  WireframeChoice = 2,
  SlowChoice = 10,
  MediumChoice = 11,
  FastChoice = 12,
};

struct MenuItem {
  int position;
  MenuValue value;
  const char* activeLabel;
  const char* inactiveLabel;
};

constexpr int MenuEntryCount = 6;

// Textures, Solid, Wireframe (the render modes), then Slow, Medium, Fast (the speeds).
extern const MenuItem MenuItems[MenuEntryCount];

inline const char* MenuLabel(const MenuItem& item, bool active) {
  return active ? item.activeLabel : item.inactiveLabel;
}

// An entry as the menu is built.
struct MenuEntry {
  const char* label;
  int value;
};

// The entries in order of position as the program starts: Textures and Medium active.
const MenuEntry (&InitialMenuEntries())[MenuEntryCount];
