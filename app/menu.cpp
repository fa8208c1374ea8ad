#include "app/menu.h"

const MenuItem MenuItems[MenuEntryCount] = {
    {1, TexturesChoice, "o Textures", "   Textures"}, {2, SolidChoice, "o Solid", "   Solid"},
    {3, WireframeChoice, "o Wireframe", "   Wireframe"}, {4, SlowChoice, "o Slow", "   Slow"},
    {5, MediumChoice, "o Medium", "   Medium"},          {6, FastChoice, "o Fast", "   Fast"},
};

namespace {

struct InitialEntries {
  MenuEntry entries[MenuEntryCount];
  InitialEntries() {
    for (int i = 0; i < MenuEntryCount; ++i) {
      const MenuItem& item = MenuItems[i];
      entries[i] = {MenuLabel(item, item.value == TexturesChoice || item.value == MediumChoice), item.value};
    }
  }
};

}  // namespace

const MenuEntry (&InitialMenuEntries())[MenuEntryCount] {
  static const InitialEntries initial;
  return initial.entries;
}
