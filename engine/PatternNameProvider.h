// The name of the pattern the pattern picker currently shows. New presets and
// presets without a pattern take it. Until the picker sets it, it is the first
// pattern of the shipped list.
#pragma once

#include <string>

namespace quillsheet {

std::string CurrentPatternName();
void SetCurrentPatternName(std::string name);

}  // namespace quillsheet
