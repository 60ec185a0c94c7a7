#include "engine/TextShaping.h"

#include <fribidi.h>

#include <algorithm>
#include <limits>

namespace quillsheet {
namespace {

std::u32string DecodeUtf8(std::string_view text) {
  std::vector<FriBidiChar> decoded(text.size() + 1);
  const FriBidiStrIndex length =
      fribidi_charset_to_unicode(FRIBIDI_CHAR_SET_UTF8, text.data(),
                                 static_cast<FriBidiStrIndex>(text.size()), decoded.data());
  return std::u32string(decoded.begin(), decoded.begin() + std::max(0, length));
}

// The embedding level of every character (odd: right to left), with the
// paragraph direction taken from the first strong character.
std::vector<FriBidiLevel> EmbeddingLevels(const std::u32string& text) {
  const auto length = static_cast<FriBidiStrIndex>(text.size());
  const auto* characters = reinterpret_cast<const FriBidiChar*>(text.data());
  std::vector<FriBidiCharType> types(text.size());
  std::vector<FriBidiBracketType> brackets(text.size());
  std::vector<FriBidiLevel> levels(text.size(), 0);
  fribidi_get_bidi_types(characters, length, types.data());
  fribidi_get_bracket_types(characters, length, types.data(), brackets.data());
  FriBidiParType direction = FRIBIDI_PAR_ON;
  if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction,
                                           levels.data())) {
    std::fill(levels.begin(), levels.end(), 0);
  }
  return levels;
}

// A logical run shaped as one HarfBuzz buffer: one level, one face, one script.
struct Segment {
  size_t start = 0;
  size_t length = 0;
  FriBidiLevel level = 0;
  const FontFace* face = nullptr;
  hb_script_t script = HB_SCRIPT_COMMON;
};

bool AttachesToPrevious(hb_script_t script, char32_t character) {
  return script == HB_SCRIPT_INHERITED || character == 0x200C || character == 0x200D;
}

// Splits the text where the level, the face or the script changes. Marks
// and joiners stay with the character before them; characters of no script
// (spaces, digits, punctuation) take the script around them.
std::vector<Segment> Segments(const FontFace& font, const std::u32string& text,
                              const std::vector<FriBidiLevel>& levels, std::u32string& missing) {
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  std::vector<hb_script_t> scripts(text.size());
  std::vector<const FontFace*> faces(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t character = text[i];
    scripts[i] = hb_unicode_script(unicode, character);
    if (i > 0 && AttachesToPrevious(scripts[i], character)) {
      faces[i] = faces[i - 1];
      scripts[i] = scripts[i - 1];
      continue;
    }
    faces[i] = &font;
    if (!font.HasCharacter(character) && character >= 0x20) {
      if (const auto fallback = FallbackFace(font, character)) {
        faces[i] = fallback.get();
      } else if (missing.find(character) == std::u32string::npos) {
        missing += character;
      }
    }
  }
  const auto unscripted = [](hb_script_t script) {
    return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED;
  };
  for (size_t i = 1; i < text.size(); ++i) {
    if (unscripted(scripts[i])) scripts[i] = scripts[i - 1];
  }
  for (size_t i = text.size(); i-- > 1;) {
    if (unscripted(scripts[i - 1])) scripts[i - 1] = scripts[i];
  }
  std::vector<Segment> segments;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!segments.empty()) {
      Segment& last = segments.back();
      if (last.level == levels[i] && last.face == faces[i] && last.script == scripts[i]) {
        ++last.length;
        continue;
      }
    }
    segments.push_back({i, 1, levels[i], faces[i], scripts[i]});
  }
  return segments;
}

// Puts the segments in visual order: from the highest level down to the
// lowest odd one, every stretch at that level or above is reversed.
void ReorderVisually(std::vector<Segment>& segments) {
  if (segments.empty()) return;
  int highest = 0;
  int lowestOdd = std::numeric_limits<int>::max();
  for (const Segment& segment : segments) {
    highest = std::max<int>(highest, segment.level);
    if (segment.level % 2 == 1) lowestOdd = std::min<int>(lowestOdd, segment.level);
  }
  for (int level = highest; level >= lowestOdd && level > 0; --level) {
    for (auto it = segments.begin(); it != segments.end();) {
      if (it->level < level) {
        ++it;
        continue;
      }
      auto end = it;
      while (end != segments.end() && end->level >= level) ++end;
      std::reverse(it, end);
      it = end;
    }
  }
}

void ShapeSegment(const std::u32string& text, const Segment& segment, double size,
                  bool verticalForms, ShapedLine& line) {
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t*>(text.data()),
                      static_cast<int>(text.size()), static_cast<unsigned>(segment.start),
                      static_cast<int>(segment.length));
  hb_buffer_set_direction(buffer, segment.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
  hb_buffer_set_script(buffer, segment.script);
  hb_buffer_set_language(buffer, hb_language_get_default());
  hb_feature_t features[2];
  unsigned featureCount = 0;
  if (verticalForms) {
    hb_feature_from_string("vert", -1, &features[featureCount++]);
    hb_feature_from_string("vrt2", -1, &features[featureCount++]);
  }
  const FontFace& face = *segment.face;
  hb_shape(face.hbFont(), buffer, features, featureCount);

  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
  const double scale = size / std::max(1u, hb_face_get_upem(hb_font_get_face(face.hbFont())));
  double penX = 0;
  double penY = 0;
  for (unsigned i = 0; i < count; ++i) {
    line.glyphs.push_back({infos[i].codepoint,
                           line.advance + (penX + positions[i].x_offset) * scale,
                           (penY + positions[i].y_offset) * scale, &face});
    penX += positions[i].x_advance;
    penY += positions[i].y_advance;
  }
  line.advance += penX * scale;
  hb_buffer_destroy(buffer);
}

}  // namespace

ShapedLine ShapeLine(const FontFace& font, std::string_view text, double size, bool verticalForms) {
  ShapedLine line;
  const std::u32string characters = DecodeUtf8(text);
  if (characters.empty()) return line;
  std::vector<Segment> segments =
      Segments(font, characters, EmbeddingLevels(characters), line.missing);
  ReorderVisually(segments);
  for (const Segment& segment : segments) {
    ShapeSegment(characters, segment, size, verticalForms, line);
  }
  return line;
}

std::string CharactersWithoutFont(const std::string& postScriptName, std::string_view text) {
  const auto font = FontFace::Load(postScriptName);
  if (!font) return std::string(text);
  const std::u32string missing = ShapeLine(*font, text, 12).missing;
  std::string utf8(missing.size() * 4 + 1, '\0');
  const FriBidiStrIndex length = fribidi_unicode_to_charset(
      FRIBIDI_CHAR_SET_UTF8, reinterpret_cast<const FriBidiChar*>(missing.data()),
      static_cast<FriBidiStrIndex>(missing.size()), utf8.data());
  utf8.resize(static_cast<size_t>(std::max(0, length)));
  return utf8;
}

}  // namespace quillsheet
