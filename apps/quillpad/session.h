#pragma once
// What quillpad restores at its next start: the main window's place and size and the
// files that were open, kept in the settings store under "quillpad\Session" beside the
// recently used files.

#include <string>
#include <vector>

namespace quillpad {

struct Session {
  static constexpr int kMaxFiles = 64;

  // The window's normal (not maximised) geometry; width 0 = nothing stored.
  int x = 0, y = 0, width = 0, height = 0;
  bool maximized = false;
  // Open files in tab order, and the tab that was current.
  std::vector<std::string> files;
  int current = 0;

  static Session Load();
  void Store() const;

  // A screen's usable area.
  struct Area {
    int x = 0, y = 0, width = 0, height = 0;
  };
  // Moves and shrinks the window's place as little as needed to lie whole on one screen:
  // the one that shows most of it, else the first. A place far out of range (a monitor
  // gone, a store edited by hand) comes back on screen the same way.
  void FitTo(const std::vector<Area>& screens);
};

}  // namespace quillpad
