// Which of the window's commands can be used, from the state of the document
// list and of the work under way. Plain data and rules: the toolbar buttons
// and the menu items both read the same answer.
#pragma once

#include <cstddef>

namespace quillsheet {

struct WindowState {
  std::size_t documentCount = 0;
  std::size_t selectedDocuments = 0;
  bool adding = false;      // an add is listing or unlocking files
  bool converting = false;  // a conversion runs
  bool presetSelected = false;
};

struct WindowActions {
  bool add = false;
  bool remove = false;
  bool removeAll = false;
  bool convert = false;  // the selected documents (all of them when none is selected)
  bool convertAll = false;
  bool removeMarks = false;  // like convert, without needing a preset
  bool showInFolder = false;
  bool preferences = true;  // always, also while busy
  bool help = true;

  bool operator==(const WindowActions&) const = default;
};

// Nothing that changes the list or starts a run is offered while an add or a
// run is under way; removing and converting need documents (Remove takes the
// selected rows); converting needs a selected preset (removing the marks of
// earlier runs does not); showing in the file
// manager needs a selected document.
WindowActions EnabledActions(const WindowState& state);

}  // namespace quillsheet
