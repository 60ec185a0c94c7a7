// The toolbar's icons: line drawings in the palette's text colour, so they
// read on light and dark palettes alike (and dimmed when disabled).
#pragma once

#include <QIcon>
#include <QPalette>
#include <QString>

namespace quillsheet {

// The icon ":/icons/NAME.svg" drawn in the palette's colours.
QIcon ToolbarIcon(const QString& name, const QPalette& palette);

}  // namespace quillsheet
