// The name of the pattern the pattern picker currently shows. New presets and
// presets without a pattern take it; the pattern list fills it in.
#pragma once

#include <string>

namespace quillsheet {

std::string CurrentPatternName();
void SetCurrentPatternName(std::string name);

}  // namespace quillsheet
