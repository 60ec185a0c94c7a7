// What the editor's and the preferences' number fields do with their text:
// cleaned as the user types, held to a lower limit when editing ends. Plain
// rules on strings; the widgets call them from their text-change and
// editing-finished signals. Thread-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillsheet {

// One kind per field class; each has its number type, typing floor and end
// rule (some kinds no control uses yet; they are kept complete).
enum class NumberFieldKind {
  WholeNumber,      // 32-bit integer while typing, floor 0
  Number,           // double, floor 0
  ZeroCount,        // integer, floor 0
  NumberLength,     // integer, floor 1
  StartDigit,       // integer, floor 0
  PageCount,        // integer, floor minValue
  FileSize,         // float, floor 0.5; below 0.5 at the end gives 0
  Resolution,       // integer, floor minValue
  FontSize,         // integer, floor 1
  RotationAngle,    // integer, floor 0
  ShadowBlur,       // integer, floor 0
  ShadowXOffset,    // integer, floor -5000, a lone "-" may start a number
  ShadowYOffset,    // as ShadowXOffset
  WatermarkOffset,  // double, floor -100, a lone "-" may start a number
  PdfScale,         // integer with "%" skipped, floor 1
  CharSpace,        // double, floor 0
  Scale,            // integer with "%" skipped, 1 to 6400, no end rule
  ScaleFactor,      // integer, floor 10
};

struct NumberFieldRule {
  NumberFieldKind kind;
  std::int64_t minValue = 1;  // the floor of PageCount and Resolution

  // The text after an edit: as typed when it is a complete number (or
  // empty, or a lone "-" where allowed); otherwise the leading number
  // raised to the floor, which drops what follows it.
  std::string AfterTyping(std::string_view text) const;
  // The text when editing ends: rewritten only when the end rule applies.
  std::string AtEnd(std::string_view text) const;
};

// Page-range text while typing: the leading run of digits, "-" and ",",
// without a lone separator or a doubled one at its end.
std::string FilterPageRangeText(std::string_view text);
// Whether a proposed page-range text may stand: only digits and separators,
// not starting with 0 or a separator, never two separators in a row.
bool IsPartialPageRangeValid(std::string_view text);

}  // namespace quillsheet
