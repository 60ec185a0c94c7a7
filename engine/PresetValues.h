// How colours and fonts are stored in a preset dictionary: a colour is an
// array of four reals (red, green, blue, alpha; sRGB, 0 to 1), a font its
// PostScript name as a string.
#pragma once

#include <optional>

#include "common/Value.h"

namespace quillsheet {

struct Rgba {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;

  bool operator==(const Rgba&) const = default;
};

inline constexpr Rgba kBlack{0, 0, 0, 1};
inline constexpr Rgba kGrey{0.5, 0.5, 0.5, 1};
inline constexpr Rgba kYellow{1, 1, 0, 1};

Value ColorValue(const Rgba& color);

// No value unless the stored value is an array of exactly four numbers.
// Components are clamped to 0..1.
std::optional<Rgba> ColorFromValue(const Value& value);

}  // namespace quillsheet
