#include "cli/SettingsJson.h"

#include <QImage>

#include "cli/Json.h"

namespace quillsheet::cli {
namespace {

std::string Pair(double first, double second) {
  return "[" + JsonNumber(first) + ", " + JsonNumber(second) + "]";
}

std::string ColorJson(const std::optional<Rgba>& color) {
  if (!color) return "null";
  return "[" + JsonNumber(color->red) + ", " + JsonNumber(color->green) + ", " +
         JsonNumber(color->blue) + ", " + JsonNumber(color->alpha) + "]";
}

// Images are placed at one pixel per point.
std::string ImageJson(const Value::Image& image) {
  return image ? Pair(image->width(), image->height()) : "null";
}

}  // namespace

std::string WatermarkSettingsJson(const WatermarkSettings& s) {
  JsonObject json;
  json.Add("textEnabled", s.textEnabled)
      .Add("textString", s.textString)
      .Add("drawingType", static_cast<long long>(s.drawingType))
      .Add("textDistance", static_cast<long long>(s.textDistance))
      .Add("fitDrawingType", static_cast<long long>(s.fitDrawingType))
      .Add("textFont", s.textFont)
      .Add("textFontSize", static_cast<long long>(s.textFontSize))
      .Add("drawingMode", static_cast<long long>(s.drawingMode))
      .AddRaw("textColor", ColorJson(s.textColor))
      .Add("strokeWidth", static_cast<long long>(s.strokeWidth))
      .Add("textOpacity", s.textOpacity)
      .Add("rotationAngle", static_cast<long long>(s.rotationAngle))
      .Add("dropShadow", s.dropShadow)
      .AddRaw("shadowColor", ColorJson(s.shadowColor))
      .Add("shadowXOffset", static_cast<long long>(s.shadowXOffset))
      .Add("shadowYOffset", static_cast<long long>(s.shadowYOffset))
      .Add("shadowBlur", static_cast<long long>(s.shadowBlur))
      .Add("fillEnabled", s.fillEnabled)
      .Add("backStyle", static_cast<long long>(s.backStyle))
      .AddRaw("fillImage", ImageJson(s.fillImage))
      .Add("patternName", s.patternName)
      .AddRaw("backColor", ColorJson(s.backColor))
      .Add("backSize", s.backSize)
      .Add("backOpacity", s.backOpacity)
      .Add("fillOption", static_cast<long long>(s.fillOption))
      .Add("textBehind", s.textBehind)
      .Add("fillBehind", s.fillBehind)
      .AddRaw("textCenter", Pair(s.textCenter.x, s.textCenter.y))
      .AddRaw("fillCenter", Pair(s.fillCenter.x, s.fillCenter.y))
      .Add("viewScale", static_cast<double>(s.viewScale))
      .Add("showMarker", s.showMarker)
      .Add("markerOnText", s.markerOnText);
  return json.Text();
}

}  // namespace quillsheet::cli
