// Writes one watermarked copy of a source PDF. Each page's own content is
// kept byte for byte: the page is made upright and the watermark layers, drawn
// once per page size, are placed behind and in front of it. Everything else
// of the document (outline, information, annotations, forms, labels,
// metadata) is carried over by writing the same document.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "common/AtomicFile.h"
#include "engine/SourceDocument.h"
#include "engine/TextFields.h"
#include "engine/WatermarkSettings.h"
#include "output/DocumentEntry.h"
#include "output/MarkDocument.h"

namespace quillsheet {

struct WriteRequest {
  DocumentEntry source;
  WatermarkSettings settings;  // viewScale 1, no marker
  // The preset's drawn layers, shared with the run's other outputs; the
  // writer draws its own from settings when there are none.
  std::shared_ptr<DrawnMarks> marks;
  std::optional<EncryptionOptions> encryption;
  int selectionTag = 1;
  std::optional<std::string> rangeString;
  // The values of the text's fields besides the page's own, when the
  // settings ask for fields.
  FieldValues fields;
  // The preset's name, kept in the marks' tag.
  std::string presetName;
  // Marks an earlier run placed stay (the new ones are stacked on them);
  // otherwise they are removed first, so the new mark replaces them.
  bool keepMarks = false;
  // Told, on the writing thread, how much of the document is done (0 to 1)
  // as its pages are marked and as it is written; may be empty.
  std::function<void(double)> progress;
};

// What a written document holds, for the caller's report.
struct WrittenDocument {
  std::uint64_t pages = 0;          // pages of the source, and of the output
  std::uint64_t markedPages = 0;    // pages that received the layers
  std::uint64_t unmarkedPages = 0;  // pages whose earlier marks were removed
  std::uint64_t leftInPlace = 0;    // mark-like objects this program did not write
};

// Writes the output into the staged file, syncs and closes it, and opens it
// again to check it before anyone delivers it: it must be a readable PDF
// with the source's number of pages, opened by the output password (and not
// without it) when encrypted. Earlier marks are removed unless asked to keep
// them. With both layers off the document is otherwise written as it is
// (rotation and boxes unchanged). A source whose repair leaves no
// page fails with kNoPagesRecovered. Cancel is read before every page and
// while the document is written. On any failure the staged file is not to be
// delivered.
Result WriteWatermarkedDocument(const WriteRequest& request, StagedFile& output,
                                const CancelFlag* cancel, WrittenDocument* written = nullptr);

}  // namespace quillsheet
