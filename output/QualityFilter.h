// The quality filters: Ghostscript's pdfwrite device, run as a child
// process, re-compressing the images of a PDF. The filter files ("High.qfilter",
// "Medium.qfilter", "Low.qfilter") are property lists among the resources
// holding the filter's parameters.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "output/DocumentEntry.h"

namespace quillsheet {

struct QualityFilter {
  std::string name;               // "High", "Medium", "Low"
  int imageResolution = 150;      // pixels per inch for colour and grey images
  int monoImageResolution = 300;  // for bilevel images
};

// The filter for a quality tag: 1 high, 2 medium, 3 low. No filter for any
// other tag, or when its resource cannot be read.
std::optional<QualityFilter> QualityFilterForTag(int filterTag);

// Whether the Ghostscript program can be run.
bool QualityFilterAvailable();

// Why a run asked for quality filterTag converts without a filter, in words
// for the user; none when no filter was asked for or it can be used.
std::optional<std::string> QualityFilterProblem(int filterTag);

// Filters a source (opened with its password) into output, images
// re-sampled and JPEG-compressed. Cancel kills the child process.
Result ApplyQualityFilter(const QualityFilter& filter, const DocumentEntry& source,
                          const std::filesystem::path& output, const CancelFlag* cancel);

}  // namespace quillsheet
