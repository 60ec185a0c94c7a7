// Produces one output file for one document and one preset: written to a
// staged file beside the destination, optionally passed through a quality
// filter, encrypted on the way, read back and checked, and renamed over the
// destination at the end, so the destination is replaced whole or left
// untouched.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/WatermarkSettings.h"
#include "output/DocumentEntry.h"
#include "output/MarkDocument.h"
#include "output/QualityFilter.h"

namespace quillsheet {

struct SaveRequest {
  DocumentEntry source;
  WatermarkSettings settings;
  // The preset's drawn layers, shared by the outputs of a run (optional).
  std::shared_ptr<DrawnMarks> marks;
  std::filesystem::path destination;
  std::optional<QualityFilter> filter;
  std::optional<EncryptionOptions> encryption;
  int selectionTag = 1;
  std::optional<std::string> rangeString;
};

// The encryption options of the export controls: present only when the box is
// checked and the password is not empty and equals its verification.
std::optional<EncryptionOptions> GetEncryptionDictionary(bool checked, const std::string& password,
                                                         const std::string& verify);

// What a delivered output is worth telling the user about.
struct SaveNotes {
  std::uint64_t markedPages = 0;  // 0: no page matched the selection
};

// Saves one output. Ok: the destination now holds it, checked by reading it
// back. Failed (with the reason, naming the destination) or Cancelled: the
// destination is as it was. No temporary file is left behind in any case.
// Throws nothing but what allocation may throw.
Result SaveAsPDFFileOfSelectedDict(const SaveRequest& request, const CancelFlag* cancel,
                                   SaveNotes* notes = nullptr);

}  // namespace quillsheet
