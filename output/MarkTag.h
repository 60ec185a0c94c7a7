// The private tag that makes every placed mark findable again: the mark's
// form XObjects, the content streams around the page that draw them and the
// watermark annotations carry a dictionary under kMarkTagKey (readers ignore
// unknown keys). With it a later run removes the marks it finds (to replace
// them, or for good) and leaves everything else of the page as it was.
#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <cstdint>
#include <string>

namespace quillsheet {

inline constexpr const char* kMarkTagKey = "/QuillsheetMark";
inline constexpr int kMarkTagVersion = 1;

// Tags object (a dictionary or a stream's dictionary) as part of a mark made
// with the named preset; role says which part ("/Form", "/Wrapper",
// "/Annotation"). Replaces an older tag.
void TagAsMark(QPDFObjectHandle object, const std::string& preset, const char* role);

// Whether object (a dictionary or stream) carries the tag.
bool IsTaggedMark(QPDFObjectHandle object);

// The marked-content spans that open the operators placing a mark's form,
// as the writer emits them: readers for the blind skip them, and the form's
// glyphs give no text when the page's text is extracted.
inline constexpr const char* kWatermarkPlacementStart =
    "/Artifact <</Type /Pagination /Subtype /Watermark>> BDC\n"
    "/Span <</ActualText ()>> BDC\n";

struct RemovedMarks {
  std::uint64_t pages = 0;        // pages that had a mark
  std::uint64_t leftInPlace = 0;  // tagged objects this program did not write
};

// Removes every mark this program placed from every page of pdf, recognised
// by its structure, not by the tag alone: the wrapping content streams whose
// bytes are exactly what the writer emits, the forms only they place (their
// names in the pages' resources) and the tagged watermark annotations.
// Anything else that carries the tag stays and is counted; the page's own
// content, annotations and everything else stay. Throws what qpdf throws on
// a damaged file.
RemovedMarks RemoveTaggedMarks(QPDF& pdf);

}  // namespace quillsheet
