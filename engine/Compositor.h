// One page with its watermark layers in the order the settings choose, and
// the position marker the preview shows on top.
#pragma once

#include <optional>
#include <vector>

#include "engine/Canvas.h"
#include "engine/SourceDocument.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet {

enum class PageLayer { Page, Fill, Text };

// The layers to draw, bottom first: the page always, the fill and the text
// when switched on, each before or after the page by its flag; between two
// layers on the same side the fill comes first. The preview and the PDF
// writer both follow this one order.
std::vector<PageLayer> LayerOrder(const WatermarkSettings& settings);

// The layers of LayerOrder split around the page: those drawn behind it and
// those drawn in front, each bottom first. The writer places each group as
// one form around the untouched page; the preview draws them around the
// page's raster the same way, so the preview is the file.
struct LayerGroups {
  std::vector<PageLayer> behind;
  std::vector<PageLayer> front;
};
LayerGroups SplitAroundPage(const WatermarkSettings& settings);

// Draws one watermark layer (Fill or Text) into the target rectangle.
void DrawWatermarkLayer(Canvas& canvas, const WatermarkSettings& settings, PageLayer layer,
                        const RectF& target);

void DrawPageContent(Canvas& canvas, const SourcePage& page, const RectF& pageBox);

// Where the marker goes: the text anchor or the positioned fill's anchor; no
// value when the settings show no marker or the layer has no anchor to show.
std::optional<PointF> MarkerPosition(const WatermarkSettings& settings, const RectF& target);

// The marker's label: "(%.0f,%.0f)" of the point snapped to whole numbers.
std::string MarkerLabel(double x, double y);

void DrawPositionMarker(Canvas& canvas, double x, double y);

}  // namespace quillsheet
