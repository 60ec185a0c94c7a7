#include "output/PdfWriter.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageLabelDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <map>
#include <stdexcept>

#include "engine/Compositor.h"
#include "output/MarkDocument.h"
#include "output/MarkTag.h"
#include "output/PageGeometry.h"
#include "output/PageSelection.h"

namespace quillsheet {
namespace {

// Gives pages resource dictionaries they may change. A dictionary shared
// between pages is copied once per page size, so pages of one size keep
// sharing one copy that names the same marks.
class ResourceCopies {
 public:
  explicit ResourceCopies(QPDF& pdf) : pdf_(pdf) {}

  // The page's /XObject dictionary, ready to take new names.
  QPDFObjectHandle XObjectsOf(QPDFPageObjectHelper& page, const RectF& box) {
    QPDFObjectHandle dictionary = page.getObjectHandle();
    QPDFObjectHandle resources = dictionary.getKey("/Resources");
    if (!resources.isDictionary()) {
      resources = QPDFObjectHandle::newDictionary();
      dictionary.replaceKey("/Resources", resources);
    } else if (resources.isIndirect()) {
      const auto key = std::make_tuple(resources.getObjGen(), box.width, box.height);
      if (const auto found = copies_.find(key); found != copies_.end()) {
        dictionary.replaceKey("/Resources", found->second);
        return found->second.getKey("/XObject");
      }
      resources = pdf_.makeIndirectObject(resources.shallowCopy());
      copies_.emplace(key, resources);
      dictionary.replaceKey("/Resources", resources);
    }
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    xobjects = xobjects.isDictionary() ? xobjects.shallowCopy() : QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    return xobjects;
  }

 private:
  QPDF& pdf_;
  std::map<std::tuple<QPDFObjGen, double, double>, QPDFObjectHandle> copies_;
};

class PageMarker {
 public:
  PageMarker(QPDF& pdf, DrawnMarks& marks, std::string presetName)
      : pdf_(pdf),
        presetName_(std::move(presetName)),
        groups_(SplitAroundPage(marks.settings())),
        visibility_(marks.settings().markVisibility),
        drawn_(marks),
        marks_(pdf, marks),
        resources_(pdf) {}

  // Draws the marks of many pages at once, so that texts that differ from
  // page to page share one drawing of their glyphs.
  void Prepare(const std::vector<std::pair<RectF, std::string>>& pages) {
    std::map<std::pair<double, double>, std::vector<std::string>> texts;
    for (const auto& [box, text] : pages) texts[{box.width, box.height}].push_back(text);
    for (const auto& [size, sized] : texts) {
      for (const auto* group : {&groups_.behind, &groups_.front}) {
        if (!group->empty()) drawn_.Prepare(*group, size.first, size.second, sized);
      }
    }
  }

  void Mark(QPDFPageObjectHelper& page, const RectF& box, const std::string& text) {
    if (visibility_ != 0) return Annotate(page, box, text);
    QPDFObjectHandle xobjects = resources_.XObjectsOf(page, box);
    const std::string behind = Place(xobjects, groups_.behind, box, text, "/QswBack");
    const std::string front = Place(xobjects, groups_.front, box, text, "/QswFront");
    page.addPageContents(SharedStream("\n" + behind + "q\n"), true);
    page.addPageContents(SharedStream("\nQ\n" + front), false);
  }

 private:
  // A mark for print only or for the screen only: readers honour the
  // print and view flags of annotations (not optional-content usage), so
  // each group is a watermark annotation showing the group's form, first in
  // the page's annotations when behind the page, last when in front. The
  // page's content is left as it is.
  void Annotate(QPDFPageObjectHelper& page, const RectF& box, const std::string& text) {
    constexpr int kPrint = 4;
    constexpr int kNoView = 32;
    const int flags = visibility_ == 1 ? kPrint | kNoView : 0;
    QPDFObjectHandle pageObject = page.getObjectHandle();
    QPDFObjectHandle annotations = pageObject.getKey("/Annots");
    // A copy: an annotation array may be shared with other pages.
    annotations = annotations.isArray() ? annotations.shallowCopy() : QPDFObjectHandle::newArray();
    const auto annotation = [&](const std::vector<PageLayer>& layers) {
      QPDFObjectHandle appearance = QPDFObjectHandle::newDictionary();
      appearance.replaceKey("/N", TaggedForm(layers, box, text));
      QPDFObjectHandle mark = QPDFObjectHandle::newDictionary();
      mark.replaceKey("/Type", QPDFObjectHandle::newName("/Annot"));
      mark.replaceKey("/Subtype", QPDFObjectHandle::newName("/Watermark"));
      mark.replaceKey("/Rect",
                      QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{
                          QPDFObjectHandle::newReal(box.x, 4), QPDFObjectHandle::newReal(box.y, 4),
                          QPDFObjectHandle::newReal(box.x + box.width, 4),
                          QPDFObjectHandle::newReal(box.y + box.height, 4)}));
      mark.replaceKey("/F", QPDFObjectHandle::newInteger(flags));
      mark.replaceKey("/P", pageObject);
      mark.replaceKey("/AP", appearance);
      TagAsMark(mark, presetName_, "/Annotation");
      return pdf_.makeIndirectObject(mark);
    };
    if (!groups_.behind.empty()) annotations.insertItem(0, annotation(groups_.behind));
    if (!groups_.front.empty()) annotations.appendItem(annotation(groups_.front));
    pageObject.replaceKey("/Annots", annotations);
  }

  // Pages of one size and origin wrap their content in the same operators:
  // one stream serves them all.
  QPDFObjectHandle SharedStream(const std::string& operators) {
    auto found = streams_.find(operators);
    if (found == streams_.end()) {
      QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf_, operators);
      TagAsMark(stream, presetName_, "/Wrapper");
      found = streams_.emplace(operators, stream).first;
    }
    return found->second;
  }

  QPDFObjectHandle TaggedForm(const std::vector<PageLayer>& layers, const RectF& box,
                              const std::string& text) {
    QPDFObjectHandle form = marks_.FormFor(layers, box.width, box.height, text);
    if (!IsTaggedMark(form)) TagAsMark(form, presetName_, "/Form");
    return form;
  }

  // The operators that draw one group's form at the box origin; the name is
  // entered in the resources unless a shared copy already names the form.
  std::string Place(QPDFObjectHandle& xobjects, const std::vector<PageLayer>& layers,
                    const RectF& box, const std::string& text, const std::string& prefix) {
    if (layers.empty()) return {};
    const QPDFObjectHandle form = TaggedForm(layers, box, text);
    std::string name;
    for (const std::string& key : xobjects.getKeys()) {
      if (xobjects.getKey(key).getObjGen() == form.getObjGen()) name = key;
    }
    if (name.empty()) {
      int suffix = 0;
      QPDFObjectHandle names = QPDFObjectHandle::newDictionary();
      names.replaceKey("/XObject", xobjects);
      name = names.getUniqueResourceName(prefix, suffix);
      xobjects.replaceKey(name, form);
    }
    return std::string(kWatermarkPlacementStart) + "q 1 0 0 1 " + PdfNumber(box.x) + " " +
           PdfNumber(box.y) + " cm " + name + " Do Q\nEMC\nEMC\n";
  }

  QPDF& pdf_;
  const std::string presetName_;
  LayerGroups groups_;
  int visibility_;
  DrawnMarks& drawn_;
  MarkCache marks_;
  ResourceCopies resources_;
  std::map<std::string, QPDFObjectHandle> streams_;
};

// Hands qpdf's output to a staged file in large blocks. A failed write ends
// the document at once; finish() never throws (qpdf also calls it while
// unwinding), the staged file keeps the cause for Close() to report.
class StagedFilePipeline : public Pipeline {
 public:
  explicit StagedFilePipeline(StagedFile& file) : Pipeline("output", nullptr), file_(file) {}

  void write(unsigned char const* data, size_t length) override {
    buffer_.append(reinterpret_cast<const char*>(data), length);
    if (buffer_.size() < kBlock) return;
    if (const Result written = Flush(); !written.ok()) throw std::runtime_error(written.message());
  }
  void finish() override { (void)Flush(); }

 private:
  static constexpr size_t kBlock = 1 << 18;

  Result Flush() {
    const Result written = file_.Write(buffer_);
    buffer_.clear();
    return written;
  }

  StagedFile& file_;
  std::string buffer_;
};

// Thrown out of qpdf's writing when the run is cancelled.
struct WriteCancelled {};

// Writes the document, telling progress from `from` to 1 as qpdf goes; a
// cancel stops the writing.
void WriteDocument(QPDF& pdf, StagedFile& output, const WriteRequest& request,
                   const CancelFlag* cancel, double from) {
  const std::optional<EncryptionOptions>& encryption = request.encryption;
  StagedFilePipeline pipeline(output);
  QPDFWriter writer(pdf);
  writer.registerProgressReporter(
      std::make_shared<QPDFWriter::FunctionProgressReporter>([&request, cancel, from](int percent) {
        if (IsCancelled(cancel)) throw WriteCancelled{};
        if (request.progress) request.progress(from + (1 - from) * percent / 100.0);
      }));
  writer.setOutputPipeline(&pipeline);
  writer.setPreserveEncryption(false);
  writer.setObjectStreamMode(qpdf_o_generate);
  if (encryption) {
    const char* password = encryption->password.c_str();
    writer.setR6EncryptionParameters(password, password, true, true, true, true, true, true,
                                     qpdf_r3p_full, true);
  } else {
    writer.setDeterministicID(true);
  }
  writer.write();
}

// A page's label as a reader shows it: the labels' prefix and number in
// their style (decimal, roman, letters); the page number without labels.
std::string PageLabel(QPDFPageLabelDocumentHelper& labels, std::uint64_t index) {
  const auto number = static_cast<long long>(index) + 1;
  if (!labels.hasPageLabels()) return std::to_string(number);
  QPDFObjectHandle label = labels.getLabelForPage(static_cast<long long>(index));
  if (!label.isDictionary()) return std::to_string(number);
  const std::string prefix =
      label.getKey("/P").isString() ? label.getKey("/P").getUTF8Value() : std::string();
  const long long value = label.getKey("/St").isInteger() ? label.getKey("/St").getIntValue() : 1;
  const std::string style = label.getKey("/S").isName() ? label.getKey("/S").getName() : "";
  const auto roman = [](long long n) {
    static const std::pair<int, const char*> digits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    std::string text;
    for (const auto& [amount, letters] : digits) {
      for (; n >= amount && text.size() < 64; n -= amount) text += letters;
    }
    return text;
  };
  const auto letters = [](long long n) {
    // a..z, then aa..zz, and so on.
    const long long repeat = std::min<long long>((n - 1) / 26 + 1, 64);
    return std::string(static_cast<size_t>(repeat), static_cast<char>('a' + (n - 1) % 26));
  };
  const auto upper = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  };
  if (value < 1) return prefix;
  if (style == "/D") return prefix + std::to_string(value);
  if (style == "/r") return prefix + roman(value);
  if (style == "/R") return prefix + upper(roman(value));
  if (style == "/a") return prefix + letters(value);
  if (style == "/A") return prefix + upper(letters(value));
  return prefix;
}

// Marks the selected pages and writes the document (while the marks' own
// document, which the pages' new forms still read from, is alive).
Result MarkAndWrite(QPDF& pdf, const WriteRequest& request, StagedFile& output,
                    const CancelFlag* cancel, WrittenDocument& written) {
  QPDFPageDocumentHelper pageHelper(pdf);
  pageHelper.pushInheritedAttributesToPage();
  QPDFAcroFormDocumentHelper forms(pdf);
  std::vector<QPDFPageObjectHelper> pages = pageHelper.getAllPages();
  const std::uint64_t count = pages.size();
  std::optional<PageIndexSet> range;
  if (request.selectionTag == kPageRange && request.rangeString && !request.rangeString->empty()) {
    range = PageIndexSetFromRangeString(*request.rangeString, count);
  }
  const auto marks = request.marks ? request.marks : std::make_shared<DrawnMarks>(request.settings);
  PageMarker marker(pdf, *marks, request.presetName);
  QPDFPageLabelDocumentHelper labels(pdf);
  // The selected pages with their boxes and texts, known before any is marked.
  std::vector<std::pair<size_t, std::pair<RectF, std::string>>> selected;
  const auto tell = [&request](double part) {
    if (request.progress) request.progress(part);
  };
  for (std::uint64_t p = 1; p <= count; ++p) {
    if (IsCancelled(cancel)) return Result::Cancelled();
    tell(0.25 * static_cast<double>(p - 1) / static_cast<double>(count));
    QPDFPageObjectHelper& page = pages[p - 1];
    const RectF displayed = PageBoxOf(page);
    const bool isSelected = IsPageSelected(request.selectionTag, p, count, displayed.width,
                                           displayed.height, range ? &*range : nullptr);
    const RectF box = MakeUpright(page, forms, isSelected, cancel);
    if (IsCancelled(cancel)) return Result::Cancelled();
    if (isSelected) {
      std::string text = request.settings.textString;
      if (request.settings.textFields) {
        FieldValues values = request.fields;
        AddPageFields(values, p, count, PageLabel(labels, p - 1));
        std::string problem;
        const auto expanded = ExpandTextFields(text, values, &problem);
        if (!expanded) return Result::Failed(problem);
        text = *expanded;
      }
      selected.push_back({p - 1, {box, std::move(text)}});
    }
  }
  if (request.settings.textFields) {
    std::vector<std::pair<RectF, std::string>> pageMarks;
    for (const auto& [index, mark] : selected) pageMarks.push_back(mark);
    marker.Prepare(pageMarks);
  }
  for (size_t i = 0; i < selected.size(); ++i) {
    if (IsCancelled(cancel)) return Result::Cancelled();
    tell(0.25 + 0.25 * static_cast<double>(i) / static_cast<double>(selected.size()));
    marker.Mark(pages[selected[i].first], selected[i].second.first, selected[i].second.second);
  }
  written.markedPages = selected.size();
  WriteDocument(pdf, output, request, cancel, 0.5);
  return Result::Ok();
}

// Opens what was written, as a reader would, before it may be delivered.
Result CheckWritten(const StagedFile& output, const WriteRequest& request, std::uint64_t pages) {
  const std::string password = request.encryption ? request.encryption->password : "";
  const std::string failure = "cannot write " + output.destination().string() + ": ";
  try {
    QPDF check;
    check.setSuppressWarnings(true);
    check.processFile(output.path().c_str(), password.c_str());
    // A file we just wrote must open without any repair of its cross
    // references or trailer (opening reads only those: warnings about the
    // objects themselves, such as a source's odd names carried over, come
    // later and are no damage of ours); then the page tree's own count is
    // enough (reading every page again would double the cost of a long
    // document, and qpdf writes the count it walked).
    if (check.anyWarnings()) {
      return Result::Failed(failure + "the written file is damaged");
    }
    QPDFObjectHandle count = check.getRoot().getKey("/Pages").getKey("/Count");
    const long long written = count.isInteger() ? count.getIntValue() : -1;
    if (written < 0 || static_cast<std::uint64_t>(written) != pages) {
      return Result::Failed(failure + "the written file has " + std::to_string(written) +
                            " pages instead of " + std::to_string(pages));
    }
  } catch (const std::exception& problem) {
    return Result::Failed(failure + "the written file cannot be read back (" + problem.what() +
                          ")");
  }
  if (request.encryption) {
    try {
      QPDF unlocked;
      unlocked.setSuppressWarnings(true);
      unlocked.processFile(output.path().c_str(), "");
      return Result::Failed(failure + "the written file opens without its password");
    } catch (const QPDFExc& expected) {
      if (expected.getErrorCode() != qpdf_e_password) {
        return Result::Failed(failure + "the written file cannot be read back");
      }
    }
  }
  return Result::Ok();
}

std::string OpenFailure(const QPDFExc& failure, const DocumentEntry& source) {
  if (failure.getErrorCode() == qpdf_e_password) {
    return source.password.empty() ? source.path + " is protected by a password"
                                   : "wrong password for " + source.path;
  }
  return source.path + " cannot be read as a PDF: " + failure.getMessageDetail();
}

}  // namespace

Result WriteWatermarkedDocument(const WriteRequest& request, StagedFile& output,
                                const CancelFlag* cancel, WrittenDocument* summary) {
  WrittenDocument written;
  QPDF pdf;
  pdf.setSuppressWarnings(true);
  try {
    pdf.processFile(request.source.path.c_str(), request.source.password.c_str());
  } catch (const QPDFExc& failure) {
    return Result::Failed(OpenFailure(failure, request.source));
  } catch (const std::exception& failure) {
    return Result::Failed(request.source.path + ": " + failure.what());
  }
  try {
    written.pages = QPDFPageDocumentHelper(pdf).getAllPages().size();
    if (written.pages == 0) return Result::Failed(request.source.path + ": " + kNoPagesRecovered);
    if (!request.keepMarks) {
      const RemovedMarks removed = RemoveTaggedMarks(pdf);
      written.unmarkedPages = removed.pages;
      written.leftInPlace = removed.leftInPlace;
    }
    if (request.settings.textEnabled || request.settings.fillEnabled) {
      const Result marked = MarkAndWrite(pdf, request, output, cancel, written);
      if (!marked.ok()) return marked;
    } else {
      WriteDocument(pdf, output, request, cancel, 0);
    }
  } catch (const WriteCancelled&) {
    if (Result closed = output.Close(); !closed.ok()) return closed;
    return Result::Cancelled();
  } catch (const QPDFExc& failure) {
    if (Result closed = output.Close(); !closed.ok()) return closed;
    // Damage shows while the source's pages are read (a content stream that
    // does not decode): it is the source's fault, not the write's.
    if (failure.getErrorCode() == qpdf_e_damaged_pdf ||
        failure.getFilename() == request.source.path) {
      return Result::Failed(request.source.path + ": " + failure.what());
    }
    return Result::Failed("cannot write " + output.destination().string() + ": " + failure.what());
  } catch (const std::exception& failure) {
    if (Result closed = output.Close(); !closed.ok()) return closed;
    return Result::Failed("cannot write " + output.destination().string() + ": " + failure.what());
  }
  if (Result closed = output.Close(); !closed.ok()) return closed;
  if (Result checked = CheckWritten(output, request, written.pages); !checked.ok()) {
    return checked;
  }
  if (summary) *summary = written;
  return Result::Ok();
}

}  // namespace quillsheet
