// Frame times of the preview: how long an edit or a drag takes to show, for
// marks of several kinds over a kept Letter page at 100 %, against poppler
// drawing the page alone in the same run.
// quillsheet-bench-preview PDF [FRAMES]  (prints medians in milliseconds)
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "engine/PreviewRenderer.h"

namespace quillsheet {
namespace {

double MedianMilliseconds(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

Dictionary TextMark(std::int64_t layout, std::int64_t angle) {
  Dictionary preset;
  GetDefaultWatermarkOptions(preset);
  preset.insert_or_assign("textString", Value("CONFIDENTIAL DRAFT"));
  preset.insert_or_assign("drawingType", Value(layout));
  preset.insert_or_assign("textRotationAngle", Value(angle));
  preset.insert_or_assign("isDropShadowApplied", Value(true));
  preset.insert_or_assign("WatermarkbackGroundOptionsState", Value(false));
  return preset;
}

Dictionary PictureFill() {
  QImage picture(2000, 2000, QImage::Format_ARGB32);
  picture.fill(QColor(40, 120, 200, 128));
  Dictionary preset;
  GetDefaultWatermarkOptions(preset);
  preset.insert_or_assign("WatermarkOptionsState", Value(false));
  preset.insert_or_assign("WatermarkbackGroundOptionsState", Value(true));
  preset.insert_or_assign("FillWatermarkOption", Value(std::int64_t{2}));
  preset.insert_or_assign("backStyle", Value(std::int64_t{2}));
  preset.insert_or_assign("Image", Value(Value::Image(std::make_shared<const QImage>(picture))));
  return preset;
}

int Run(const char* path, int frames) {
  OpenError error = OpenError::None;
  std::string message;
  const auto document = SourceDocument::Open(path, "", error, message);
  if (!document) {
    std::fprintf(stderr, "%s: %s\n", path, message.c_str());
    return 1;
  }
  const SourcePage page = document->Page(0);
  const double pageAlone = MedianMilliseconds(frames, [&] { PreviewFrames(page, 1.0); });
  const PreviewFrames kept(page, 1.0);
  std::printf("poppler, the page alone: %.2f ms\n", pageAlone);
  const std::pair<const char*, Dictionary> marks[] = {
      {"one line of text with shadow", TextMark(1, 45)},
      {"tiled text with shadow", TextMark(4, 45)},
      {"2000 x 2000 picture fill", PictureFill()}};
  // A drag moves the anchor on every frame; an edit changes the opacity,
  // which draws the layer again whatever it is.
  for (const auto& [name, preset] : marks) {
    WatermarkSettings settings = GetPresetSettingsFrom(&preset);
    settings.viewScale = 1;
    settings.showMarker = true;
    settings.markerOnText = true;
    int frame = 0;
    const double drag = MedianMilliseconds(frames, [&] {
      ++frame;
      settings.textCenter = settings.fillCenter = {2.0 + frame % 7 * 0.1, 2.0 + frame % 5 * 0.1};
      kept.Frame(settings);
    });
    const double edit = MedianMilliseconds(frames, [&] {
      ++frame;
      settings.textOpacity = settings.backOpacity = 0.3 + frame % 7 * 0.1;
      kept.Frame(settings);
    });
    std::printf("%-30s drag %6.2f ms, edit %6.2f ms  (%.2f and %.2f of the page alone)\n", name,
                drag, edit, drag / pageAlone, edit / pageAlone);
  }
  std::printf("goal: under 16 ms a frame\n");
  return 0;
}

}  // namespace
}  // namespace quillsheet

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: quillsheet-bench-preview PDF [FRAMES]\n");
    return 2;
  }
  return quillsheet::Run(argv[1], argc > 2 ? std::max(1, std::atoi(argv[2])) : 31);
}
