// The watermark layers of one page size, drawn once by the engine into a
// one-page PDF and imported into the output document as a form XObject.
#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <map>
#include <memory>
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

// Hands out one form XObject per distinct page size and layer group, made on
// first use and shared by every page that needs it. Owns the drawn documents
// the XObjects were copied from, which must live until the output is written.
class MarkCache {
 public:
  MarkCache(QPDF& output, const WatermarkSettings& settings);
  ~MarkCache();

  QPDFObjectHandle FormFor(const std::vector<PageLayer>& layers, double width, double height);

 private:
  struct Source;
  QPDF& output_;
  const WatermarkSettings& settings_;
  std::map<std::tuple<double, double, std::vector<PageLayer>>, QPDFObjectHandle> forms_;
  std::vector<std::unique_ptr<Source>> sources_;
};

}  // namespace quillsheet
