// Font lookup through fontconfig.
#pragma once

#include <string>

namespace quillsheet {

// The PostScript name of the user's default font: fontconfig's best match for
// "sans-serif". Looked up once per process.
const std::string& DefaultUserFontPostScriptName();

}  // namespace quillsheet
