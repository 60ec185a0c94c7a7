// Produces one output file for one document and one preset: written to a
// temporary file beside the destination, optionally passed through a quality
// filter, encrypted on the way, and renamed over the destination at the end,
// so the destination is replaced whole or left untouched.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/WatermarkSettings.h"
#include "output/DocumentEntry.h"
#include "output/QualityFilter.h"

namespace quillsheet {

struct SaveRequest {
  DocumentEntry source;
  WatermarkSettings settings;
  std::filesystem::path destination;
  std::optional<QualityFilter> filter;
  std::optional<EncryptionOptions> encryption;
  int selectionTag = 1;
  std::optional<std::string> rangeString;
};

// A fresh, hidden file name in the destination's folder, unique per call.
std::filesystem::path TemporaryPathForDestination(const std::filesystem::path& destination);

// The encryption options of the export controls: present only when the box is
// checked and the password is not empty and equals its verification.
std::optional<EncryptionOptions> GetEncryptionDictionary(bool checked, const std::string& password,
                                                         const std::string& verify);

// Saves one output. Written: the destination now holds it. Failed (with the
// reason) or Cancelled: the destination is as it was. No temporary file is
// left behind in any case.
WriteOutcome SaveAsPDFFileOfSelectedDict(const SaveRequest& request, const CancelFlag* cancel);

}  // namespace quillsheet
