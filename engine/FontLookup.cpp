#include "engine/FontLookup.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <tuple>

namespace quillsheet {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHandle = std::unique_ptr<FcPattern, PatternDeleter>;

PatternHandle BestMatch(FcPattern* request) {
  FcConfigSubstitute(nullptr, request, FcMatchPattern);
  FcDefaultSubstitute(request);
  FcResult result = FcResultNoMatch;
  return PatternHandle(FcFontMatch(nullptr, request, &result));
}

std::string PostScriptNameOf(const FcPattern* pattern) {
  FcChar8* name = nullptr;
  if (!pattern || FcPatternGetString(pattern, FC_POSTSCRIPT_NAME, 0, &name) != FcResultMatch) {
    return {};
  }
  return reinterpret_cast<const char*>(name);
}

// The installed font with exactly this PostScript name.
PatternHandle ExactFont(const std::string& postScriptName) {
  PatternHandle request(FcPatternCreate());
  FcPatternAddString(request.get(), FC_POSTSCRIPT_NAME,
                     reinterpret_cast<const FcChar8*>(postScriptName.c_str()));
  std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FILE, FC_INDEX, FC_POSTSCRIPT_NAME, FC_FAMILY, nullptr),
      &FcObjectSetDestroy);
  std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
      FcFontList(nullptr, request.get(), objects.get()), &FcFontSetDestroy);
  if (!fonts || fonts->nfont == 0) return nullptr;
  return PatternHandle(FcPatternDuplicate(fonts->fonts[0]));
}

// Fontconfig's best match for a name that no installed font carries.
PatternHandle SubstituteFont(const std::string& postScriptName) {
  PatternHandle request(FcPatternCreate());
  FcPatternAddString(request.get(), FC_FAMILY,
                     reinterpret_cast<const FcChar8*>(postScriptName.c_str()));
  return BestMatch(request.get());
}

std::mutex& CacheGuard() {
  static std::mutex guard;
  return guard;
}

std::map<std::string, std::shared_ptr<const FontFace>>& Cache() {
  static std::map<std::string, std::shared_ptr<const FontFace>> cache;
  return cache;
}

}  // namespace

namespace {

using FontSetHandle = std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)>;

// The installed fonts matching the request, with the listed properties.
FontSetHandle ListFonts(FcPattern* request, FcObjectSet* objects) {
  return FontSetHandle(FcFontList(nullptr, request, objects), &FcFontSetDestroy);
}

std::string StringOf(FcPattern* pattern, const char* property) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, property, 0, &value) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(value);
}

}  // namespace

std::vector<std::string> FontFamilies() {
  PatternHandle request(FcPatternCreate());
  std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FAMILY, nullptr), &FcObjectSetDestroy);
  const FontSetHandle fonts = ListFonts(request.get(), objects.get());
  std::set<std::string> families;
  for (int i = 0; fonts && i < fonts->nfont; ++i) {
    if (std::string family = StringOf(fonts->fonts[i], FC_FAMILY); !family.empty()) {
      families.insert(std::move(family));
    }
  }
  return {families.begin(), families.end()};
}

std::vector<FontMember> FamilyMembers(const std::string& family) {
  PatternHandle request(FcPatternCreate());
  FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_STYLE, FC_POSTSCRIPT_NAME, FC_WEIGHT, FC_SLANT, nullptr),
      &FcObjectSetDestroy);
  const FontSetHandle fonts = ListFonts(request.get(), objects.get());
  struct Ranked {
    int weightDistance;
    int slant;
    FontMember member;
  };
  std::vector<Ranked> ranked;
  std::set<std::string> seen;
  for (int i = 0; fonts && i < fonts->nfont; ++i) {
    FontMember member{StringOf(fonts->fonts[i], FC_STYLE),
                      StringOf(fonts->fonts[i], FC_POSTSCRIPT_NAME)};
    if (member.postScriptName.empty() || !seen.insert(member.postScriptName).second) continue;
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(fonts->fonts[i], FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(fonts->fonts[i], FC_SLANT, 0, &slant);
    ranked.push_back({std::abs(weight - FC_WEIGHT_REGULAR), slant, std::move(member)});
  }
  std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return std::tie(a.weightDistance, a.slant, a.member.style) <
           std::tie(b.weightDistance, b.slant, b.member.style);
  });
  std::vector<FontMember> members;
  for (Ranked& entry : ranked) members.push_back(std::move(entry.member));
  return members;
}

std::string FamilyOf(const std::string& postScriptName) {
  const PatternHandle font = ExactFont(postScriptName);
  return font ? StringOf(font.get(), FC_FAMILY) : std::string();
}

const std::string& DefaultUserFontPostScriptName() {
  static const std::string name = [] {
    PatternHandle request(FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif")));
    return request ? PostScriptNameOf(BestMatch(request.get()).get()) : std::string();
  }();
  return name;
}

FontFace::~FontFace() {
  if (hbFont_) hb_font_destroy(hbFont_);
  if (cairoFace_) cairo_font_face_destroy(cairoFace_);
}

std::shared_ptr<const FontFace> FontFace::Load(const std::string& postScriptName) {
  std::lock_guard lock(CacheGuard());
  if (auto found = Cache().find(postScriptName); found != Cache().end()) return found->second;

  PatternHandle pattern = ExactFont(postScriptName);
  if (!pattern) pattern = SubstituteFont(postScriptName);
  FcChar8* file = nullptr;
  int index = 0;
  if (!pattern || FcPatternGetString(pattern.get(), FC_FILE, 0, &file) != FcResultMatch) {
    return nullptr;
  }
  FcPatternGetInteger(pattern.get(), FC_INDEX, 0, &index);

  std::shared_ptr<FontFace> face(new FontFace);
  face->postScriptName_ = PostScriptNameOf(pattern.get());
  FcChar8* family = nullptr;
  if (FcPatternGetString(pattern.get(), FC_FAMILY, 0, &family) == FcResultMatch) {
    face->family_ = reinterpret_cast<const char*>(family);
  }
  face->cairoFace_ = cairo_ft_font_face_create_for_pattern(pattern.get());
  hb_blob_t* blob = hb_blob_create_from_file(reinterpret_cast<const char*>(file));
  hb_face_t* hbFace = hb_face_create(blob, static_cast<unsigned>(index));
  face->hbFont_ = hb_font_create(hbFace);
  hb_face_destroy(hbFace);
  hb_blob_destroy(blob);

  const double unitsPerEm = std::max(1u, hb_face_get_upem(hb_font_get_face(face->hbFont_)));
  hb_font_extents_t extents{};
  if (hb_font_get_h_extents(face->hbFont_, &extents) && extents.ascender != extents.descender) {
    face->ascender_ = extents.ascender / unitsPerEm;
    face->descender_ = extents.descender / unitsPerEm;
    face->lineGap_ = extents.line_gap / unitsPerEm;
  }
  hb_font_make_immutable(face->hbFont_);
  Cache().emplace(postScriptName, face);
  return face;
}

bool FontFace::HasCharacter(char32_t character) const {
  hb_codepoint_t glyph = 0;
  return hb_font_get_nominal_glyph(hbFont_, character, &glyph) && glyph != 0;
}

std::shared_ptr<const FontFace> FallbackFace(const FontFace& primary, char32_t character) {
  static std::mutex guard;
  static std::map<std::pair<std::string, char32_t>, std::shared_ptr<const FontFace>> chosen;
  const auto key = std::make_pair(primary.postScriptName(), character);
  {
    std::lock_guard lock(guard);
    if (const auto found = chosen.find(key); found != chosen.end()) return found->second;
  }
  PatternHandle request(FcPatternCreate());
  FcPatternAddString(request.get(), FC_FAMILY,
                     reinterpret_cast<const FcChar8*>(primary.family().c_str()));
  FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
  FcDefaultSubstitute(request.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> sorted(
      FcFontSort(nullptr, request.get(), FcFalse, nullptr, &result), &FcFontSetDestroy);
  std::shared_ptr<const FontFace> face;
  for (int i = 0; sorted && i < sorted->nfont && !face; ++i) {
    FcCharSet* characters = nullptr;
    if (FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &characters) == FcResultMatch &&
        FcCharSetHasChar(characters, character)) {
      face = FontFace::Load(PostScriptNameOf(sorted->fonts[i]));
      if (face && !face->HasCharacter(character)) face.reset();
    }
  }
  std::lock_guard lock(guard);
  chosen.emplace(key, face);
  return face;
}

}  // namespace quillsheet
