#include "output/MarkDocument.h"

#include <cairo-pdf.h>
#include <qpdf/Buffer.hh>
#include <qpdf/Pl_String.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <charconv>
#include <set>

#include "engine/Canvas.h"
#include "output/ComposedText.h"

namespace quillsheet {
namespace {

// Gives identical forms under the resources one object: the first met.
class FormSharing {
 public:
  void Share(QPDFObjectHandle resources) {
    if (!resources.isDictionary()) return;
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    if (!xobjects.isDictionary()) return;
    for (const std::string& name : xobjects.getKeys()) {
      QPDFObjectHandle form = xobjects.getKey(name);
      if (!form.isStream() || !visited_.insert(form.getObjGen()).second) continue;
      // Inner forms first, so that the form's own resources name shared ones.
      Share(form.getDict().getKey("/Resources"));
      std::string key = KeyOf(form);
      const auto [first, added] = canonical_.emplace(std::move(key), form);
      if (!added) xobjects.replaceKey(name, first->second);
    }
  }

 private:
  // The form's data and dictionary, with the values of its entries (the
  // resources, shared ones by name) rather than their object numbers.
  static std::string KeyOf(QPDFObjectHandle form) {
    QPDFObjectHandle dictionary = form.getDict();
    std::string key;
    for (const std::string& entry : dictionary.getKeys()) {
      if (entry == "/Length") continue;
      key += entry + ' ' + dictionary.getKey(entry).unparseResolved() + '\n';
    }
    const auto data = form.getRawStreamData();
    key.append(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    return key;
  }

  std::map<std::string, QPDFObjectHandle> canonical_;
  std::set<QPDFObjGen> visited_;
};

// Cairo writes each glyph's outline once per page. For a file of many pages
// (texts that differ per page) one of each identical form is kept, so that
// the pages, and their copies in outputs, share them.
std::string WithSharedForms(const std::string& bytes) {
  QPDF pdf;
  pdf.setSuppressWarnings(true);
  pdf.processMemoryFile("watermark", bytes.data(), bytes.size());
  FormSharing sharing;
  for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
    sharing.Share(page.getObjectHandle().getKey("/Resources"));
  }
  return PdfBytes(pdf);
}

}  // namespace

std::string PdfNumber(double value) {
  // Plain decimals (PDF has no exponents), without trailing zeros.
  char text[400];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  std::string number(text, written.ec == std::errc() ? written.ptr : text);
  if (number.find('.') != std::string::npos) {
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') number.pop_back();
  }
  if (number.empty() || number == "-0") return "0";
  return number;
}

std::string PdfBytes(QPDF& pdf) {
  std::string bytes;
  Pl_String text("pdf bytes", nullptr, bytes);
  QPDFWriter writer(pdf);
  writer.setOutputPipeline(&text);
  writer.setObjectStreamMode(qpdf_o_generate);
  writer.setPreserveEncryption(false);
  writer.write();
  return bytes;
}

std::string RenderLayersAsPdf(const WatermarkSettings& settings,
                              const std::vector<PageLayer>& layers, double width, double height,
                              const std::vector<std::string>& texts) {
  std::string bytes;
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(AppendToString, &bytes, width, height);
  cairo_t* cr = cairo_create(surface);
  {
    Canvas canvas(cr, 1.0, height, kShadowPixelsPerPoint);
    const RectF target{0, 0, width, height};
    WatermarkSettings page = settings;
    for (const std::string& text : texts) {
      page.textString = text;
      for (const PageLayer layer : layers) DrawWatermarkLayer(canvas, page, layer, target);
      cairo_show_page(cr);
    }
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  if (!ok) return {};
  return texts.size() > 1 ? WithSharedForms(bytes) : bytes;
}

DrawnMarks::Key DrawnMarks::KeyOf(const std::vector<PageLayer>& layers, double width, double height,
                                  const std::string& text) {
  const bool drawsText = std::find(layers.begin(), layers.end(), PageLayer::Text) != layers.end();
  return {width, height, layers, drawsText ? text : std::string()};
}

void DrawnMarks::Prepare(const std::vector<PageLayer>& layers, double width, double height,
                         const std::vector<std::string>& texts) {
  std::lock_guard lock(guard_);
  std::vector<std::string> missing;
  std::set<Key> planned;
  for (const std::string& text : texts) {
    const Key key = KeyOf(layers, width, height, text);
    if (!drawn_.count(key) && planned.insert(key).second) missing.push_back(std::get<3>(key));
  }
  if (!missing.empty()) DrawLocked(layers, width, height, missing);
}

DrawnMark DrawnMarks::Get(const std::vector<PageLayer>& layers, double width, double height,
                          const std::string& text) {
  std::lock_guard lock(guard_);
  const Key key = KeyOf(layers, width, height, text);
  if (!drawn_.count(key)) DrawLocked(layers, width, height, {std::get<3>(key)});
  return drawn_.at(key);
}

void DrawnMarks::DrawLocked(const std::vector<PageLayer>& layers, double width, double height,
                            const std::vector<std::string>& texts) {
  if (CanComposeText(settings_, layers)) {
    const auto composed = ComposeTexts(settings_, width, height, texts);
    if (!composed) throw std::runtime_error("the watermark could not be drawn");
    for (size_t text = 0; text < texts.size(); ++text) {
      drawn_[KeyOf(layers, width, height, texts[text])] = {nullptr, 0, composed, text};
    }
    return;
  }
  auto file =
      std::make_shared<std::string>(RenderLayersAsPdf(settings_, layers, width, height, texts));
  if (file->empty()) throw std::runtime_error("the watermark could not be drawn");
  for (size_t page = 0; page < texts.size(); ++page) {
    drawn_[KeyOf(layers, width, height, texts[page])] = {file, static_cast<int>(page), nullptr, 0};
  }
}

struct MarkCache::Source {
  std::shared_ptr<const std::string> bytes;  // qpdf reads the memory file in place and lazily
  QPDF document;
  std::vector<QPDFPageObjectHelper> pages;
};

MarkCache::MarkCache(QPDF& output, DrawnMarks& marks) : output_(output), marks_(marks) {}

MarkCache::~MarkCache() = default;

QPDFObjectHandle MarkCache::FormFor(const std::vector<PageLayer>& layers, double width,
                                    double height, const std::string& text) {
  const auto key = std::make_tuple(width, height, layers, text);
  if (const auto found = forms_.find(key); found != forms_.end()) return found->second;

  const DrawnMark mark = marks_.Get(layers, width, height, text);
  QPDFObjectHandle form =
      mark.composed ? ComposedFormFor(mark)
                    : output_.copyForeignObject(
                          SourceOf(mark.file).pages.at(mark.page).getFormXObjectForPage());
  forms_.emplace(key, form);
  return form;
}

MarkCache::Source& MarkCache::SourceOf(const std::shared_ptr<const std::string>& file) {
  std::unique_ptr<Source>& source = sources_[file.get()];
  if (!source) {
    source = std::make_unique<Source>();
    source->bytes = file;
    source->document.setSuppressWarnings(true);
    source->document.processMemoryFile("watermark", source->bytes->data(), source->bytes->size());
    source->pages = QPDFPageDocumentHelper(source->document).getAllPages();
  }
  return *source;
}

QPDFObjectHandle MarkCache::ComposedFormFor(const DrawnMark& mark) {
  // The glyph file lives as long as the composed texts, which the drawn
  // marks keep for the run.
  const std::shared_ptr<const std::string> glyphFile(mark.composed, &mark.composed->glyphFile);
  return ComposedForm(output_, *mark.composed, mark.text, [&](int page) {
    QPDFObjectHandle& form = glyphForms_[{glyphFile.get(), page}];
    if (form.isInitialized()) return form;
    form = output_.copyForeignObject(SourceOf(glyphFile).pages.at(page).getFormXObjectForPage());
    return form;
  });
}

}  // namespace quillsheet
