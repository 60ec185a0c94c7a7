// The settings record as the command line prints it.
#pragma once

#include <string>

#include "engine/WatermarkSettings.h"

namespace quillsheet::cli {

// One member per field under the field's name; colours as [r, g, b, a] or
// null, the font as its PostScript name, the image as [width, height] in
// points or null, infinite anchor components as "inf".
std::string WatermarkSettingsJson(const WatermarkSettings& settings);

}  // namespace quillsheet::cli
