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

// Removes every tagged mark from every page of pdf: the wrapping content
// streams, the forms' names in the pages' resources and the watermark
// annotations. The page's own content, annotations and everything else stay.
// Gives the number of pages that had a mark. Throws what qpdf throws on a
// damaged file.
std::uint64_t RemoveTaggedMarks(QPDF& pdf);

}  // namespace quillsheet
