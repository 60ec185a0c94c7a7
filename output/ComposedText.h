// Marks of a text layer whose text differs from page to page (fields): the
// engine lays each text out, cairo draws each distinct glyph outline once,
// and each text's form places those outlines in a transparency group at the
// layer's opacity. A long document then costs little more than one page,
// where drawing every text with cairo would repeat its glyphs on every page.
// A drop shadow, a blurred picture of each text, is made by the engine from
// the placed glyphs (the picture the engine draws under the same text) and
// written as a soft mask under them.
#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Compositor.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet {

// Whether a group of layers can be composed: the text layer alone, with
// fields.
bool CanComposeText(const WatermarkSettings& settings, const std::vector<PageLayer>& layers);

// Texts laid out on pages of one size, sharing one drawing of their glyphs.
// Immutable once made; shared by the outputs of a run.
struct ComposedTexts {
  // A text's drop shadow, a picture of its own text: the shadow's colour
  // painted through a mask under the glyphs.
  struct Shadow {
    std::string mask;  // DeviceGray samples, top row first, deflated
    int width = 0;     // pixels
    int height = 0;
    RectF box;  // where the mask lands, device space (y down)
    Rgba color;
  };
  struct Text {
    std::string operators;        // the group's content, glyph forms named /G<page>
    std::vector<int> glyphPages;  // the glyph file's pages the operators name
    double opacity = 1;
    std::optional<Shadow> shadow;
  };
  std::string glyphFile;  // a PDF file with one page per distinct glyph outline
  std::vector<Text> texts;
  double width = 0;
  double height = 0;
};

// Lays out and draws the texts; none when drawing failed.
std::shared_ptr<const ComposedTexts> ComposeTexts(const WatermarkSettings& settings, double width,
                                                  double height,
                                                  const std::vector<std::string>& texts);

// Makes text number `text` a form XObject of the page size in output;
// glyphForm gives the output's form of a page of the glyph file.
QPDFObjectHandle ComposedForm(QPDF& output, const ComposedTexts& composed, size_t text,
                              const std::function<QPDFObjectHandle(int page)>& glyphForm);

}  // namespace quillsheet
