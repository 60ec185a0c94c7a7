// Produces one output file for one document and one preset: written to a
// staged file beside the destination, optionally passed through a quality
// filter, encrypted on the way, read back and checked, and renamed over the
// destination at the end, so the destination is replaced whole or left
// untouched.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "engine/TextFields.h"
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
  FieldValues fields;      // of the text's fields, besides the page's own
  std::string presetName;  // kept in the marks' tag
  bool keepMarks = false;  // stack on earlier marks instead of replacing them
  // How much of the document's writing is done, 0 to 1 (see WriteRequest).
  std::function<void(double)> progress;
};

// Why encryption asked for cannot be used (an empty password, one with a NUL
// character, one longer than the 127 bytes a PDF password can hold, or a
// verification that differs), or nothing when it can or was not asked for.
inline constexpr size_t kLongestPassword = 127;
std::optional<std::string> EncryptionRequestProblem(bool checked, const std::string& password,
                                                    const std::string& verify);

// The encryption options of the export controls: present only when the box is
// checked and EncryptionRequestProblem finds nothing wrong.
std::optional<EncryptionOptions> GetEncryptionDictionary(bool checked, const std::string& password,
                                                         const std::string& verify);

// What a delivered output is worth telling the user about.
struct SaveNotes {
  std::uint64_t markedPages = 0;    // 0: no page matched the selection
  std::uint64_t unmarkedPages = 0;  // pages whose earlier marks were removed
  std::uint64_t leftInPlace = 0;    // mark-like objects this program did not write
};

// Saves one output. Ok: the destination now holds it, checked by reading it
// back. Failed (with the reason, naming the destination) or Cancelled: the
// destination is as it was. No temporary file is left behind in any case.
// Throws nothing but what allocation may throw.
Result SaveAsPDFFileOfSelectedDict(const SaveRequest& request, const CancelFlag* cancel,
                                   SaveNotes* notes = nullptr);

}  // namespace quillsheet
