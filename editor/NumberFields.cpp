#include "editor/NumberFields.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace quillsheet {
namespace {

using Kind = NumberFieldKind;

enum class NumberType { Int32, Integer, Double, Float };

NumberType TypeOf(Kind kind) {
  switch (kind) {
    case Kind::WholeNumber:
      return NumberType::Int32;
    case Kind::Number:
    case Kind::WatermarkOffset:
    case Kind::CharSpace:
      return NumberType::Double;
    case Kind::FileSize:
      return NumberType::Float;
    default:
      return NumberType::Integer;
  }
}

bool SkipsPercent(Kind kind) { return kind == Kind::PdfScale || kind == Kind::Scale; }

bool MayStartWithMinus(Kind kind) {
  return kind == Kind::ShadowXOffset || kind == Kind::ShadowYOffset ||
         kind == Kind::WatermarkOffset;
}

// Reads text the way the field's scanner does: skipped characters (white
// space, or "%" for the scale fields) around one number.
class Scanner {
 public:
  Scanner(std::string_view text, bool skipPercent) : text_(text), skipPercent_(skipPercent) {}

  // The number at the start (after skipped characters), if any; moves past it.
  std::optional<double> Scan(NumberType type) {
    Skip();
    const char* begin = text_.data() + at_;
    const char* end = text_.data() + text_.size();
    size_t length = 0;
    double value = 0;
    if (type == NumberType::Double || type == NumberType::Float) {
      length = DecimalLength(begin, end);
      if (length == 0) return std::nullopt;
      value = std::strtod(std::string(begin, length).c_str(), nullptr);
      if (type == NumberType::Float) value = static_cast<float>(value);
    } else {
      std::int64_t integer = 0;
      const char* from = begin < end && *begin == '+' ? begin + 1 : begin;
      const auto [stop, error] = std::from_chars(from, end, integer);
      if (stop == from) return std::nullopt;
      length = static_cast<size_t>(stop - begin);
      if (error == std::errc::result_out_of_range) {
        integer = *from == '-' ? std::numeric_limits<std::int64_t>::min()
                               : std::numeric_limits<std::int64_t>::max();
      }
      if (type == NumberType::Int32) {
        integer = std::clamp<std::int64_t>(integer, std::numeric_limits<std::int32_t>::min(),
                                           std::numeric_limits<std::int32_t>::max());
      }
      value = static_cast<double>(integer);
    }
    at_ += length;
    return value;
  }

  bool AtEnd() {
    Skip();
    return at_ == text_.size();
  }

 private:
  void Skip() {
    while (at_ < text_.size() && IsSkipped(text_[at_])) ++at_;
  }
  bool IsSkipped(char c) const {
    return skipPercent_ ? c == '%' : (c == ' ' || c == '\t' || c == '\n' || c == '\r');
  }
  // Sign, digits, an optional fraction and exponent; 0 when no digit.
  static size_t DecimalLength(const char* begin, const char* end) {
    const char* p = begin;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* digits = p;
    while (p < end && std::isdigit(static_cast<unsigned char>(*p))) ++p;
    if (p < end && *p == '.') {
      ++p;
      while (p < end && std::isdigit(static_cast<unsigned char>(*p))) ++p;
    }
    if (p - digits == 0 || (p - digits == 1 && *digits == '.')) return 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
      const char* exponent = p + 1;
      if (exponent < end && (*exponent == '+' || *exponent == '-')) ++exponent;
      const char* exponentDigits = exponent;
      while (exponent < end && std::isdigit(static_cast<unsigned char>(*exponent))) ++exponent;
      if (exponent > exponentDigits) p = exponent;
    }
    return static_cast<size_t>(p - begin);
  }

  std::string_view text_;
  bool skipPercent_;
  size_t at_ = 0;
};

// The value a field reads from its text: the leading number, 0 without one.
double ValueOf(std::string_view text, NumberType type) {
  Scanner scanner(text, false);
  return scanner.Scan(type).value_or(0);
}

std::string TextOf(double value, NumberType type) {
  if (type == NumberType::Double || type == NumberType::Float) {
    char buffer[64];
    const auto end = type == NumberType::Float
                         ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value))
                         : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end.ptr);
  }
  return std::to_string(static_cast<std::int64_t>(value));
}

double TypingFloor(const NumberFieldRule& rule) {
  switch (rule.kind) {
    case Kind::NumberLength:
    case Kind::FontSize:
    case Kind::PdfScale:
    case Kind::Scale:
      return 1;
    case Kind::PageCount:
    case Kind::Resolution:
      return static_cast<double>(rule.minValue);
    case Kind::FileSize:
      return 0.5;
    case Kind::ShadowXOffset:
    case Kind::ShadowYOffset:
      return -5000;
    case Kind::WatermarkOffset:
      return -100;
    case Kind::ScaleFactor:
      return 10;
    default:
      return 0;
  }
}

constexpr double kLargestScale = 6400;

}  // namespace

std::string NumberFieldRule::AfterTyping(std::string_view text) const {
  const NumberType type = TypeOf(kind);
  Scanner scanner(text, SkipsPercent(kind));
  if (const auto value = scanner.Scan(type); value && scanner.AtEnd()) {
    if (kind == Kind::Scale && *value > kLargestScale) return TextOf(kLargestScale, type);
    return std::string(text);
  }
  if (text.empty() || (MayStartWithMinus(kind) && text == "-")) return std::string(text);
  double value = std::max(ValueOf(text, type), TypingFloor(*this));
  if (kind == Kind::Scale) value = std::min(value, kLargestScale);
  return TextOf(value, type);
}

std::string NumberFieldRule::AtEnd(std::string_view text) const {
  // The end rule reads 64-bit integers even where typing reads 32-bit ones.
  const NumberType type = TypeOf(kind) == NumberType::Int32 ? NumberType::Integer : TypeOf(kind);
  const double value = ValueOf(text, type);
  const double floor = TypingFloor(*this);
  switch (kind) {
    case Kind::Scale:
      return std::string(text);
    case Kind::FileSize:
      return value < floor ? TextOf(0, type) : std::string(text);
    case Kind::RotationAngle:
    case Kind::ShadowBlur:
    case Kind::PdfScale:
      return value <= floor ? TextOf(floor, type) : std::string(text);
    default:
      return value < floor ? TextOf(floor, type) : std::string(text);
  }
}

std::string FilterPageRangeText(std::string_view text) {
  const auto isRangeCharacter = [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == ',';
  };
  std::string run(text.begin(), std::find_if_not(text.begin(), text.end(), isRangeCharacter));
  const auto isSeparator = [](char c) { return c == '-' || c == ','; };
  if (run.size() == 1 && isSeparator(run[0])) return {};
  if (run.size() >= 2 && isSeparator(run[run.size() - 1]) && isSeparator(run[run.size() - 2])) {
    run.pop_back();
  }
  return run;
}

bool IsPartialPageRangeValid(std::string_view text) {
  if (text.find_first_not_of("0123456789,-") != std::string_view::npos) return false;
  if (text.empty()) return true;
  if (text[0] == '0' || text[0] == '-' || text[0] == ',') return false;
  if (text.size() == 1) return true;
  for (const std::string_view pair : {"--", ",-", "-,", ",,"}) {
    if (text.find(pair) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace quillsheet
