#include "editor/EditHistory.h"

#include <QUndoCommand>

namespace quillsheet {
namespace {

// One step: the working copies before the first edit and after the last.
class EditStep : public QUndoCommand {
 public:
  EditStep(PresetLibrary& library, std::string key, PresetLibrary::WorkingCopies before,
           PresetLibrary::WorkingCopies after, const bool& stepOpen)
      : library_(library),
        key_(std::move(key)),
        before_(std::move(before)),
        after_(std::move(after)),
        stepOpen_(stepOpen) {}

  // The edit is already in the library when the step is recorded.
  void redo() override {
    if (done_) library_.RestoreWorkingCopies(after_);
    done_ = true;
  }
  void undo() override { library_.RestoreWorkingCopies(before_); }

  int id() const override { return 1; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const EditStep*>(other);
    if (!stepOpen_ || next->key_ != key_ || Names(next->before_) != Names(after_)) return false;
    after_ = next->after_;
    return true;
  }

 private:
  static std::vector<std::string> Names(const PresetLibrary::WorkingCopies& copies) {
    std::vector<std::string> names;
    for (const auto& copy : copies) names.push_back(copy.first);
    return names;
  }

  PresetLibrary& library_;
  std::string key_;
  PresetLibrary::WorkingCopies before_;
  PresetLibrary::WorkingCopies after_;
  const bool& stepOpen_;
  bool done_ = false;
};

}  // namespace

EditHistory::EditHistory(PresetLibrary& library) : library_(library) {
  // An undo or redo closes the open step: what follows is a new one.
  QObject::connect(&stack_, &QUndoStack::indexChanged, [this] { stepOpen_ = false; });
}

void EditHistory::Edit(const Value& value, std::string_view key) { Edit({{key, value}}); }

void EditHistory::Edit(std::initializer_list<std::pair<std::string_view, Value>> edits) {
  if (edits.size() == 0) return;
  PresetLibrary::WorkingCopies before = library_.SelectedWorkingCopies();
  for (const auto& [key, value] : edits) library_.setObjectToSelectedPreset(value, key);
  if (before.empty()) return;  // no preset selected: the edit has nothing to undo
  stack_.push(new EditStep(library_, std::string(edits.begin()->first), std::move(before),
                           library_.SelectedWorkingCopies(), stepOpen_));
  stepOpen_ = true;
}

void EditHistory::Clear() {
  stack_.clear();
  stepOpen_ = false;
}

}  // namespace quillsheet
