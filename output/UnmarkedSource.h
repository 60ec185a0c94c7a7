// The source as a conversion reads it: a file that carries marks placed by an
// earlier run is marked again without them (they are replaced), so whatever
// shows or looks at its pages before converting must not see them either.
#pragma once

#include <memory>
#include <string>

#include "engine/SourceDocument.h"

namespace quillsheet {

// The file's pages without the marks an earlier run placed, from a decrypted
// copy in memory; no document when the file carries none, or cannot be read
// (callers then use the file itself). Opens the file with qpdf and walks every
// page: a few milliseconds for a long document; writing the copy costs about
// as much as a plain rewrite. Safe from any thread.
std::unique_ptr<SourceDocument> OpenWithoutEarlierMarks(const std::string& path,
                                                        const std::string& password);

}  // namespace quillsheet
