#include "engine/PresetValues.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quillsheet {

Value ColorValue(const Rgba& color) {
  return Value(Value::Array{color.red, color.green, color.blue, color.alpha});
}

std::optional<Rgba> ColorFromValue(const Value& value) {
  const Value::Array* items = value.ArrayValue();
  if (!items || items->size() != 4) return std::nullopt;
  std::array<double, 4> components{};
  for (size_t i = 0; i < components.size(); ++i) {
    const auto component = (*items)[i].RealValue();
    if (!component || std::isnan(*component)) return std::nullopt;
    components[i] = std::clamp(*component, 0.0, 1.0);
  }
  return Rgba{components[0], components[1], components[2], components[3]};
}

}  // namespace quillsheet
