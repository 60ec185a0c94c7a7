// Undo and redo of the editor's edits. Every edit of the selected presets
// goes through Edit(), which stores it in the library and records the
// working copies before and after as one step. Consecutive edits of the same
// key on the same presets make one step (a drag, a run of typing) until
// EndStep() closes it. Adding, removing, renaming, saving and reverting
// presets clear the history (Clear()): the steps would no longer say what
// they did. The library must outlive the history. Main thread only.
#pragma once

#include <QUndoStack>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "editor/PresetLibrary.h"

namespace quillsheet {

class EditHistory {
 public:
  explicit EditHistory(PresetLibrary& library);

  void Edit(const Value& value, std::string_view key);
  // Several keys stored as one step (merged with the open step by the
  // first key).
  void Edit(std::initializer_list<std::pair<std::string_view, Value>> edits);
  void EndStep() { stepOpen_ = false; }
  void Clear();

  // For the Edit menu's actions and their enabled state.
  QUndoStack& stack() { return stack_; }

 private:
  PresetLibrary& library_;
  QUndoStack stack_;
  bool stepOpen_ = false;
};

}  // namespace quillsheet
