#include "output/MarkTag.h"

#include <qpdf/QPDFPageDocumentHelper.hh>

#include <vector>

namespace quillsheet {
namespace {

// The items of array that are not tagged marks; whether any were.
bool WithoutMarks(QPDFObjectHandle array, QPDFObjectHandle& kept) {
  kept = QPDFObjectHandle::newArray();
  bool removed = false;
  for (const QPDFObjectHandle& item : array.aitems()) {
    if (IsTaggedMark(item)) {
      removed = true;
    } else {
      kept.appendItem(item);
    }
  }
  return removed;
}

// The page's content streams without the ones that draw marks.
bool RemoveWrappers(QPDFObjectHandle page) {
  QPDFObjectHandle contents = page.getKey("/Contents");
  if (!contents.isArray()) return false;
  QPDFObjectHandle kept;
  if (!WithoutMarks(contents, kept)) return false;
  page.replaceKey("/Contents", kept);
  return true;
}

// The forms' names, from the page's own resources (pages that share them
// were marked alike).
bool RemoveForms(QPDFObjectHandle page) {
  QPDFObjectHandle resources = page.getKey("/Resources");
  if (!resources.isDictionary()) return false;
  QPDFObjectHandle xobjects = resources.getKey("/XObject");
  if (!xobjects.isDictionary()) return false;
  bool removed = false;
  for (const std::string& name : xobjects.getKeys()) {
    if (IsTaggedMark(xobjects.getKey(name))) {
      xobjects.removeKey(name);
      removed = true;
    }
  }
  return removed;
}

// The watermark annotations; the list is copied, as pages may share it.
bool RemoveAnnotations(QPDFObjectHandle page) {
  QPDFObjectHandle annotations = page.getKey("/Annots");
  if (!annotations.isArray()) return false;
  QPDFObjectHandle kept;
  if (!WithoutMarks(annotations, kept)) return false;
  if (kept.getArrayNItems() == 0) {
    page.removeKey("/Annots");
  } else {
    page.replaceKey("/Annots", kept);
  }
  return true;
}

}  // namespace

void TagAsMark(QPDFObjectHandle object, const std::string& preset, const char* role) {
  QPDFObjectHandle dictionary = object.isStream() ? object.getDict() : object;
  QPDFObjectHandle tag = QPDFObjectHandle::newDictionary();
  tag.replaceKey("/Version", QPDFObjectHandle::newInteger(kMarkTagVersion));
  tag.replaceKey("/Preset", QPDFObjectHandle::newUnicodeString(preset));
  tag.replaceKey("/Role", QPDFObjectHandle::newName(role));
  dictionary.replaceKey(kMarkTagKey, tag);
}

bool IsTaggedMark(QPDFObjectHandle object) {
  if (object.isStream()) return object.getDict().getKey(kMarkTagKey).isDictionary();
  return object.isDictionary() && object.getKey(kMarkTagKey).isDictionary();
}

std::uint64_t RemoveTaggedMarks(QPDF& pdf) {
  std::uint64_t pages = 0;
  for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
    QPDFObjectHandle dictionary = page.getObjectHandle();
    const bool wrappers = RemoveWrappers(dictionary);
    const bool forms = RemoveForms(dictionary);
    const bool annotations = RemoveAnnotations(dictionary);
    if (wrappers || forms || annotations) ++pages;
  }
  return pages;
}

}  // namespace quillsheet
