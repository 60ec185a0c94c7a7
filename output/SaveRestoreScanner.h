// Counting the save and restore operators of decoded page content, so the
// layers wrapped around it stay outside its graphics state.
#pragma once

#include <string_view>

#include "output/DocumentEntry.h"

namespace quillsheet {

// The save and restore operators of decoded page content, counted by a small
// scanner that skips strings, names, comments and inline image data (much
// faster than a full tokenizer on long documents).
struct SaveRestoreCount {
  int depth = 0;              // saves never restored
  int unmatchedRestores = 0;  // restores without a save
};
// Any input ends the scan; a set cancel flag ends it early.
SaveRestoreCount CountSaveRestore(std::string_view content, const CancelFlag* cancel = nullptr);

}  // namespace quillsheet
