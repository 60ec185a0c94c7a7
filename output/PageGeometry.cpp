#include "output/PageGeometry.h"

#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string_view>

namespace quillsheet {
namespace {

struct Box {
  double x1, y1, x2, y2;
  bool Empty() const { return !(x2 > x1 && y2 > y1); }
};

// A box that encloses nothing ([0 0 0 0], a line) counts as missing, as
// readers treat it.
std::optional<Box> BoxOf(QPDFObjectHandle rectangle) {
  if (!rectangle.isRectangle()) return std::nullopt;
  const auto r = rectangle.getArrayAsRectangle();
  const Box box{std::min(r.llx, r.urx), std::min(r.lly, r.ury), std::max(r.llx, r.urx),
                std::max(r.lly, r.ury)};
  if (box.Empty()) return std::nullopt;
  return box;
}

std::string Repeat(const char* text, int count) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

}  // namespace

int NormalizedRotation(QPDFPageObjectHelper& page) {
  QPDFObjectHandle rotate = page.getObjectHandle().getKey("/Rotate");
  long long angle = rotate.isInteger() ? rotate.getIntValue() : 0;
  if (rotate.isReal()) angle = std::llround(rotate.getNumericValue());
  angle %= 360;
  if (angle < 0) angle += 360;
  return angle % 90 == 0 ? static_cast<int>(angle) : 0;
}

RectF PageBoxOf(QPDFPageObjectHelper& page) {
  QPDFObjectHandle dictionary = page.getObjectHandle();
  const Box media = BoxOf(dictionary.getKey("/MediaBox")).value_or(Box{0, 0, 612, 792});
  Box box = media;
  if (const auto crop = BoxOf(dictionary.getKey("/CropBox"))) {
    const Box clipped{std::max(crop->x1, media.x1), std::max(crop->y1, media.y1),
                      std::min(crop->x2, media.x2), std::min(crop->y2, media.y2)};
    if (!clipped.Empty()) box = clipped;
  }
  RectF rect{box.x1, box.y1, box.x2 - box.x1, box.y2 - box.y1};
  if (NormalizedRotation(page) % 180 == 90) std::swap(rect.width, rect.height);
  return rect;
}

bool BalanceSaveRestore(QPDFPageObjectHelper& page, const CancelFlag* cancel) {
  std::string content;
  Pl_String decoded("page content", nullptr, content);
  page.pipeContents(&decoded);
  const SaveRestoreCount count = CountSaveRestore(content, cancel);
  if (count.depth == 0 && count.unmatchedRestores == 0) return false;
  QPDF& pdf = *page.getObjectHandle().getOwningQPDF();
  page.addPageContents(
      QPDFObjectHandle::newStream(&pdf, "\n" + Repeat("q\n", count.unmatchedRestores)), true);
  page.addPageContents(QPDFObjectHandle::newStream(&pdf, "\n" + Repeat("Q\n", count.depth)), false);
  return true;
}

RectF MakeUpright(QPDFPageObjectHelper& page, QPDFAcroFormDocumentHelper& forms, bool balance,
                  const CancelFlag* cancel) {
  QPDFObjectHandle dictionary = page.getObjectHandle();
  const int rotation = NormalizedRotation(page);
  if (balance || rotation != 0) BalanceSaveRestore(page, cancel);
  if (!BoxOf(dictionary.getKey("/MediaBox"))) {
    // Turning needs a media box; a page without a usable one is Letter-sized.
    dictionary.replaceKey("/MediaBox", QPDFObjectHandle::newFromRectangle({0, 0, 612, 792}));
  }
  if (rotation != 0) {
    dictionary.replaceKey("/Rotate", QPDFObjectHandle::newInteger(rotation));
    page.flattenRotation(&forms);
  }
  dictionary.removeKey("/Rotate");
  const RectF box = PageBoxOf(page);
  dictionary.replaceKey("/MediaBox", QPDFObjectHandle::newFromRectangle(
                                         {box.x, box.y, box.x + box.width, box.y + box.height}));
  for (const char* key : {"/CropBox", "/BleedBox", "/TrimBox", "/ArtBox"}) {
    dictionary.removeKey(key);
  }
  return box;
}

}  // namespace quillsheet
