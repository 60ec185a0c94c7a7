#include "output/MarkTag.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <regex>
#include <set>
#include <vector>

namespace quillsheet {
namespace {

// The bytes of a wrapper the writer puts around a page: "\nq\n" or
// "\nQ\n" with, before the q or after the Q, the placement of one form by
// name. Gives whether the stream is exactly that, and the form's name when
// it places one. A tag alone proves nothing: anyone can write one.
bool IsOwnWrapper(QPDFObjectHandle stream, std::string& formName) {
  if (!stream.isStream() || !IsTaggedMark(stream)) return false;
  std::string bytes;
  try {
    const std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
    bytes.assign(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
  } catch (const std::exception&) {
    return false;
  }
  static const std::string placement = std::string(kWatermarkPlacementStart);
  static const std::regex place(
      R"(q 1 0 0 1 -?[0-9.]+ -?[0-9.]+ cm (/[A-Za-z0-9]+) Do Q\nEMC\nEMC\n)");
  std::string placed;
  if (bytes.starts_with("\nQ\n")) {
    placed = bytes.substr(3);
  } else if (bytes.starts_with("\n") && bytes.ends_with("q\n")) {
    placed = bytes.substr(1, bytes.size() - 3);
  } else {
    return false;
  }
  if (placed.empty()) return true;
  if (!placed.starts_with(placement)) return false;
  std::smatch match;
  const std::string rest = placed.substr(placement.size());
  if (!std::regex_match(rest, match, place)) return false;
  formName = match[1];
  return true;
}

// Drops the page's own wrappers from its content streams, collecting the
// names of the forms they place; the array is replaced, as pages may share
// it.
bool RemoveWrappers(QPDFObjectHandle page, std::set<std::string>& formNames,
                    std::uint64_t& foreign) {
  QPDFObjectHandle items = page.getKey("/Contents");
  if (!items.isArray()) {
    foreign += IsTaggedMark(items) ? 1 : 0;
    return false;
  }
  QPDFObjectHandle kept = QPDFObjectHandle::newArray();
  bool removed = false;
  for (const QPDFObjectHandle& item : items.aitems()) {
    std::string name;
    if (IsOwnWrapper(item, name)) {
      removed = true;
      if (!name.empty()) formNames.insert(name);
    } else {
      foreign += IsTaggedMark(item) ? 1 : 0;
      kept.appendItem(item);
    }
  }
  if (removed) page.replaceKey("/Contents", kept);
  return removed;
}

// The forms the removed wrappers placed, by their names in the page's own
// resources (pages that share them were marked alike); a tagged form no
// wrapper of ours placed stays.
bool RemoveForms(QPDFObjectHandle page, const std::set<std::string>& formNames,
                 std::uint64_t& foreign) {
  QPDFObjectHandle resources = page.getKey("/Resources");
  if (!resources.isDictionary()) return false;
  QPDFObjectHandle xobjects = resources.getKey("/XObject");
  if (!xobjects.isDictionary()) return false;
  bool removed = false;
  for (const std::string& name : xobjects.getKeys()) {
    if (!IsTaggedMark(xobjects.getKey(name))) continue;
    if (formNames.count(name)) {
      xobjects.removeKey(name);
      removed = true;
    } else {
      ++foreign;
    }
  }
  return removed;
}

// Drops the page's tagged watermark annotations; other annotations that
// carry the tag stay.
bool RemoveAnnotations(QPDFObjectHandle page, std::uint64_t& foreign) {
  QPDFObjectHandle items = page.getKey("/Annots");
  if (!items.isArray()) return false;
  QPDFObjectHandle kept = QPDFObjectHandle::newArray();
  bool removed = false;
  for (QPDFObjectHandle item : items.aitems()) {
    if (!IsTaggedMark(item)) {
      kept.appendItem(item);
    } else if (item.isDictionary() && item.getKey("/Subtype").isNameAndEquals("/Watermark")) {
      removed = true;
    } else {
      ++foreign;
      kept.appendItem(item);
    }
  }
  if (!removed) return false;
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

RemovedMarks RemoveTaggedMarks(QPDF& pdf) {
  RemovedMarks removed;
  for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
    QPDFObjectHandle dictionary = page.getObjectHandle();
    std::set<std::string> formNames;
    const bool wrappers = RemoveWrappers(dictionary, formNames, removed.leftInPlace);
    const bool forms = RemoveForms(dictionary, formNames, removed.leftInPlace);
    const bool annotations = RemoveAnnotations(dictionary, removed.leftInPlace);
    if (wrappers || forms || annotations) ++removed.pages;
  }
  return removed;
}

}  // namespace quillsheet
