#include "cli/RenderCommand.h"

#include <charconv>

#include "cli/Arguments.h"
#include "cli/PresetSource.h"
#include "common/AtomicFile.h"
#include "engine/PreviewRenderer.h"
#include "engine/SourceDocument.h"
#include "output/UnmarkedSource.h"

namespace quillsheet::cli {
namespace {

struct RenderRequest {
  std::string input;
  std::string output;
  long page = 1;
  double scale = 1.0;
  std::string marker = "none";
  std::string password;
  std::optional<std::string> presetFile;
  std::optional<std::string> presetName;
};

template <typename Number>
bool ParseNumber(const std::string& text, Number& number) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// Fills the request; an empty result on success, else the usage error.
std::string ReadRequest(const Arguments& arguments, RenderRequest& request) {
  if (arguments.positional.size() != 1) return "render needs exactly one input file";
  if (!arguments.flags.empty()) return "unknown option " + *arguments.flags.begin();
  request.input = arguments.positional.front();
  const auto output = arguments.Option("o");
  if (!output) return "render needs -o OUT.png";
  request.output = *output;
  if (const auto page = arguments.Option("page");
      page && !(ParseNumber(*page, request.page) && request.page >= 1)) {
    return "--page needs a page number from 1";
  }
  if (const auto scale = arguments.Option("scale");
      scale && !(ParseNumber(*scale, request.scale) && request.scale > 0 && request.scale <= 16)) {
    return "--scale needs a number above 0 and at most 16";
  }
  request.marker = arguments.Option("marker").value_or("none");
  if (request.marker != "text" && request.marker != "fill" && request.marker != "none") {
    return "--marker is text, fill or none";
  }
  request.password = arguments.Option("password").value_or("");
  request.presetFile = arguments.Option("preset-file");
  request.presetName = arguments.Option("name");
  if (request.presetName && !request.presetFile) return "--name needs --preset-file";
  return {};
}

int Render(const RenderRequest& request) {
  std::string error;
  std::optional<Dictionary> preset;
  if (request.presetFile) {
    preset = ReadPreset(*request.presetFile, request.presetName, error);
    if (!preset) return Fail(error);
  }
  OpenError openError = OpenError::None;
  // Shown as it would be converted: without the marks of an earlier run.
  std::unique_ptr<SourceDocument> document =
      SourceDocument::Open(request.input, request.password, openError, error);
  if (!document) return Fail(error);
  if (auto unmarked = OpenWithoutEarlierMarks(request.input, request.password)) {
    document = std::move(unmarked);
  }
  if (document->PageCount() < 1) return Fail(request.input + ": " + kNoPagesRecovered);
  if (request.page > document->PageCount()) {
    return Fail("page " + std::to_string(request.page) + " is out of range: " + request.input +
                " has " + std::to_string(document->PageCount()) + " pages");
  }
  WatermarkSettings settings = GetPresetSettingsFrom(preset ? &*preset : nullptr);
  settings.viewScale = static_cast<float>(request.scale);
  settings.showMarker = request.marker != "none";
  settings.markerOnText = request.marker == "text";

  const SourcePage page = document->Page(static_cast<int>(request.page - 1));
  const SizeF size = page.DisplayedSize();
  if (!(size.width >= 1 && size.height >= 1)) {
    return Fail(request.input + ": " + kNoPagesRecovered);
  }
  const SurfaceHandle picture = RenderPreview(page, settings, request.scale);
  if (!picture) return Fail("the page is too large to render at this scale");
  std::string png;
  if (cairo_surface_write_to_png_stream(picture.get(), AppendToString, &png) !=
      CAIRO_STATUS_SUCCESS) {
    return Fail("cannot encode the picture");
  }
  const Result written = WriteFileAtomically(request.output, png);
  return written.ok() ? kExitOk : Fail(written.message());
}

}  // namespace

int RunRenderCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto arguments = ParseArguments(
      words, {"o", "page", "preset-file", "name", "scale", "marker", "password"}, error);
  if (!arguments) return FailUsage(error, kRenderUsage);
  if (AskedForHelp(*arguments, kRenderUsage)) return kExitOk;
  RenderRequest request;
  if (const std::string problem = ReadRequest(*arguments, request); !problem.empty()) {
    return FailUsage(problem, kRenderUsage);
  }
  return Render(request);
}

}  // namespace quillsheet::cli
