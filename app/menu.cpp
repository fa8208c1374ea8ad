#include "app/menu.h"

namespace {

struct EntryLabels {
  const char* active;
  const char* inactive;
};

constexpr EntryLabels kLabels[MenuEntryCount] = {
    {"o Textures", "   Textures"}, {"o Solid", "   Solid"}, {"o Wireframe", "   Wireframe"},
    {"o Slow", "   Slow"},         {"o Medium", "   Medium"}, {"o Fast", "   Fast"},
};

constexpr MenuEntry kInitialEntries[MenuEntryCount] = {
    {"o Textures", 0}, {"   Solid", 1}, {"   Wireframe", 2}, {"   Slow", 10}, {"o Medium", 11}, {"   Fast", 12},
};

}  // namespace

const MenuEntry (&InitialMenuEntries())[MenuEntryCount] { return kInitialEntries; }

const char* MenuLabel(int position, bool active) {
  const EntryLabels& labels = kLabels[position - 1];
  return active ? labels.active : labels.inactive;
}
