// Writes one watermarked copy of a source PDF. Each page's own content is
// kept byte for byte: the page is made upright and the watermark layers, drawn
// once per page size, are placed behind and in front of it. Everything else
// of the document (outline, information, annotations, forms, labels,
// metadata) is carried over by writing the same document.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/WatermarkSettings.h"
#include "output/DocumentEntry.h"

namespace quillsheet {

struct WriteRequest {
  DocumentEntry source;
  WatermarkSettings settings;  // viewScale 1, no marker
  std::filesystem::path output;
  std::optional<EncryptionOptions> encryption;
  int selectionTag = 1;
  std::optional<std::string> rangeString;
};

// The marked-content tag around every placed mark: readers for the blind skip
// it, and its glyphs give no text when the page's text is extracted.
inline constexpr const char* kWatermarkTag =
    "/Artifact <</Type /Pagination /Subtype /Watermark>> BDC\n"
    "/Span <</ActualText ()>> BDC\n";

// Writes the output file. With both layers off the document is written as it
// is (rotation and boxes unchanged). Cancel is read before every page; a
// cancelled or failed write may leave a partial file for the caller to remove.
WriteOutcome WriteWatermarkedDocument(const WriteRequest& request, const CancelFlag* cancel);

}  // namespace quillsheet
