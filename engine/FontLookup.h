// Fonts by PostScript name: fontconfig finds the file, cairo (through
// FreeType) draws it, HarfBuzz shapes text with it. Loaded faces are cached
// for the life of the process (so raw pointers to them stay valid); a
// conversion draws the same font thousands of times. Safe from any thread.
#pragma once

#include <cairo.h>
#include <hb.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillsheet {

// The PostScript name of the user's default font: fontconfig's best match for
// "sans-serif". Looked up once per process.
const std::string& DefaultUserFontPostScriptName();

// The families of the installed fonts, sorted by plain comparison.
std::vector<std::string> FontFamilies();

// One face of a family: its style name and the PostScript name that draws it.
struct FontMember {
  std::string style;
  std::string postScriptName;
};
// The faces of a family, regular weights first, then by style name; empty
// for an unknown family.
std::vector<FontMember> FamilyMembers(const std::string& family);

// The family of the face with this PostScript name; empty when none.
std::string FamilyOf(const std::string& postScriptName);

class FontFace {
 public:
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // The face whose PostScript name is given; when no installed font has it,
  // fontconfig's best match for the name, so a preset made elsewhere still
  // draws. Null only when fontconfig finds no font at all.
  static std::shared_ptr<const FontFace> Load(const std::string& postScriptName);

  cairo_font_face_t* cairoFace() const { return cairoFace_; }
  hb_font_t* hbFont() const { return hbFont_; }
  const std::string& postScriptName() const { return postScriptName_; }

  const std::string& family() const { return family_; }
  // Whether the face has a glyph for the character.
  bool HasCharacter(char32_t character) const;

  // Vertical metrics as fractions of the em, y up (descender negative).
  double ascender() const { return ascender_; }
  double descender() const { return descender_; }
  double lineGap() const { return lineGap_; }

 private:
  FontFace() = default;
  std::string postScriptName_;
  std::string family_;
  cairo_font_face_t* cairoFace_ = nullptr;
  hb_font_t* hbFont_ = nullptr;
  double ascender_ = 0.8;
  double descender_ = -0.2;
  double lineGap_ = 0;
};

// A face that has the character, for text set in primary that lacks it:
// the first font of fontconfig's sorted fallback list for primary's family
// that covers it. Null when no installed font has the character. Cached.
std::shared_ptr<const FontFace> FallbackFace(const FontFace& primary, char32_t character);

}  // namespace quillsheet
