#include "app/models/WindowActions.h"

namespace quillsheet {

WindowActions EnabledActions(const WindowState& state) {
  const bool idle = !state.adding && !state.converting;
  const bool hasDocuments = state.documentCount > 0;
  WindowActions actions;
  actions.add = idle;
  actions.remove = idle && hasDocuments;
  actions.removeAll = idle && hasDocuments;
  actions.convert = idle && hasDocuments && state.presetSelected;
  actions.convertAll = actions.convert;
  actions.removeMarks = idle && hasDocuments;
  actions.showInFolder = hasDocuments && state.selectedDocuments > 0;
  return actions;
}

}  // namespace quillsheet
