// Shaping one line of text for drawing: the Unicode bidirectional algorithm
// (FriBidi) orders mixed-direction text, each run is shaped by HarfBuzz with
// its own direction and script, and characters the chosen font lacks are set
// in a fallback font that has them, as every text renderer does. The preview
// and the file use the same result.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/FontLookup.h"

namespace quillsheet {

// One glyph at its position relative to the start of the line, in points,
// y up, with the face it comes from (a cached face: the pointer stays valid).
struct ShapedGlyph {
  unsigned index = 0;
  double x = 0;
  double y = 0;
  const FontFace* face = nullptr;
};

// A shaped line in visual order (left to right).
struct ShapedLine {
  std::vector<ShapedGlyph> glyphs;
  double advance = 0;
  std::u32string missing;  // characters no installed font has (drawn as empty boxes)
};

// Shapes UTF-8 text set in font at a size. The paragraph direction comes from
// the first strong character. verticalForms turns on the vertical alternates
// ("vert", "vrt2").
ShapedLine ShapeLine(const FontFace& font, std::string_view text, double size,
                     bool verticalForms = false);

// The characters of the text that no installed font can draw, each once, as
// UTF-8; empty when every character can be drawn.
std::string CharactersWithoutFont(const std::string& postScriptName, std::string_view text);

}  // namespace quillsheet
