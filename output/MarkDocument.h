// The watermark layers of one page size, drawn once by the engine into a
// one-page PDF and imported into the output document as a form XObject.
#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "engine/Compositor.h"
#include "engine/WatermarkSettings.h"
#include "output/ComposedText.h"

namespace quillsheet {

// Shadows in files are rastered this many times finer than a point, which
// stays clean at 200 % zoom.
inline constexpr double kShadowPixelsPerPoint = 3.0;

// A number as PDF content writes it.
std::string PdfNumber(double value);

// The bytes of the document written to memory, not encrypted.
std::string PdfBytes(QPDF& pdf);

// Draws the layers into PDF pages of width x height points, one page per
// text (the watermark's text on that page); the bytes of the whole PDF file,
// empty when drawing failed. Glyph outlines are written once for all pages.
std::string RenderLayersAsPdf(const WatermarkSettings& settings,
                              const std::vector<PageLayer>& layers, double width, double height,
                              const std::vector<std::string>& texts);

// One drawn mark: a page of a PDF file that may hold the marks of other
// texts as well, or a text of composed texts.
struct DrawnMark {
  std::shared_ptr<const std::string> file;
  int page = 0;
  std::shared_ptr<const ComposedTexts> composed;
  size_t text = 0;
};

// The layers of one preset drawn as PDF pages, once per page size, layer
// group and text, shared by every output of that preset in a run (drawing,
// shadows above all, costs far more than placing). Safe from several threads.
class DrawnMarks {
 public:
  explicit DrawnMarks(WatermarkSettings settings) : settings_(std::move(settings)) {}

  const WatermarkSettings& settings() const { return settings_; }
  // Draws the texts not drawn yet for one page size and layer group, all
  // into one file, so texts that differ per page share their glyphs; throws
  // when drawing failed.
  void Prepare(const std::vector<PageLayer>& layers, double width, double height,
               const std::vector<std::string>& texts);
  // The mark with text as the watermark's text, drawn on first use; throws
  // when drawing failed.
  DrawnMark Get(const std::vector<PageLayer>& layers, double width, double height,
                const std::string& text);

 private:
  using Key = std::tuple<double, double, std::vector<PageLayer>, std::string>;
  // The text only counts for groups that draw it.
  static Key KeyOf(const std::vector<PageLayer>& layers, double width, double height,
                   const std::string& text);
  void DrawLocked(const std::vector<PageLayer>& layers, double width, double height,
                  const std::vector<std::string>& texts);

  const WatermarkSettings settings_;
  std::mutex guard_;
  std::map<Key, DrawnMark> drawn_;
};

// Hands out one form XObject per distinct page size, layer group and text of
// one output, copied on first use from the drawn marks and shared by every page
// that needs it (forms copied from one drawn file share their glyphs). Keeps
// the drawn documents the XObjects were copied from, which must live until
// the output is written.
class MarkCache {
 public:
  MarkCache(QPDF& output, DrawnMarks& marks);
  ~MarkCache();

  QPDFObjectHandle FormFor(const std::vector<PageLayer>& layers, double width, double height,
                           const std::string& text);

 private:
  struct Source;
  QPDF& output_;
  DrawnMarks& marks_;
  std::map<std::tuple<double, double, std::vector<PageLayer>, std::string>, QPDFObjectHandle>
      forms_;
  Source& SourceOf(const std::shared_ptr<const std::string>& file);
  QPDFObjectHandle ComposedFormFor(const DrawnMark& mark);

  std::map<const std::string*, std::unique_ptr<Source>> sources_;
  // The glyph forms of composed texts, copied once into the output.
  std::map<std::pair<const std::string*, int>, QPDFObjectHandle> glyphForms_;
};

}  // namespace quillsheet
