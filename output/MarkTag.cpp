#include "output/MarkTag.h"

#include <qpdf/QPDFPageDocumentHelper.hh>

#include <vector>

namespace quillsheet {
namespace {

// Drops the tagged items from the page's array under key (its content
// streams or its annotations); the array is replaced, as pages may share it.
bool RemoveTaggedItems(QPDFObjectHandle page, const std::string& key) {
  QPDFObjectHandle items = page.getKey(key);
  if (!items.isArray()) return false;
  QPDFObjectHandle kept = QPDFObjectHandle::newArray();
  bool removed = false;
  for (const QPDFObjectHandle& item : items.aitems()) {
    if (IsTaggedMark(item)) {
      removed = true;
    } else {
      kept.appendItem(item);
    }
  }
  if (!removed) return false;
  if (kept.getArrayNItems() == 0 && key == "/Annots") {
    page.removeKey(key);
  } else {
    page.replaceKey(key, kept);
  }
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
    const bool wrappers = RemoveTaggedItems(dictionary, "/Contents");
    const bool forms = RemoveForms(dictionary);
    const bool annotations = RemoveTaggedItems(dictionary, "/Annots");
    if (wrappers || forms || annotations) ++pages;
  }
  return pages;
}

}  // namespace quillsheet
