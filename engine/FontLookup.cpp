#include "engine/FontLookup.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace quillsheet {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHandle = std::unique_ptr<FcPattern, PatternDeleter>;

std::string BestMatchPostScriptName(const char* family) {
  PatternHandle request(FcNameParse(reinterpret_cast<const FcChar8*>(family)));
  if (!request) return {};
  FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
  FcDefaultSubstitute(request.get());
  FcResult result = FcResultNoMatch;
  PatternHandle match(FcFontMatch(nullptr, request.get(), &result));
  FcChar8* name = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_POSTSCRIPT_NAME, 0, &name) != FcResultMatch) {
    return {};
  }
  return reinterpret_cast<const char*>(name);
}

}  // namespace

const std::string& DefaultUserFontPostScriptName() {
  static const std::string name = BestMatchPostScriptName("sans-serif");
  return name;
}

}  // namespace quillsheet
