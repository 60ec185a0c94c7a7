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

namespace quillsheet {

// Draws the layers into a PDF page of width x height points; the bytes of a
// whole one-page PDF file.
std::string RenderLayersAsPdf(const WatermarkSettings& settings,
                              const std::vector<PageLayer>& layers, double width, double height);

// The layers of one preset drawn as one-page PDF files, once per page size
// and layer group, shared by every output of that preset in a run (drawing,
// shadows above all, costs far more than placing). Safe from several threads.
class DrawnMarks {
 public:
  explicit DrawnMarks(WatermarkSettings settings) : settings_(std::move(settings)) {}

  const WatermarkSettings& settings() const { return settings_; }
  // The file's bytes, drawn on first use with text as the watermark's text;
  // throws when drawing failed.
  std::shared_ptr<const std::string> Get(const std::vector<PageLayer>& layers, double width,
                                         double height, const std::string& text);

 private:
  const WatermarkSettings settings_;
  std::mutex guard_;
  std::map<std::tuple<double, double, std::vector<PageLayer>, std::string>,
           std::shared_ptr<const std::string>>
      drawn_;
};

// Hands out one form XObject per distinct page size, layer group and text of
// one output, copied on first use from the drawn marks and shared by every page
// that needs it. Keeps the drawn documents the XObjects were copied from,
// which must live until the output is written.
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
  std::vector<std::unique_ptr<Source>> sources_;
};

}  // namespace quillsheet
