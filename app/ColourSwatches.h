#pragma once

#include <QWidget>

namespace quillsheet {

// The row of fill colour swatches: eight buttons, each showing its colour
// and a paler shade under the pointer, named for screen readers. It stores
// nothing; a click tells which swatch was picked. Main thread only.
class ColourSwatches : public QWidget {
  Q_OBJECT

 public:
  explicit ColourSwatches(QWidget* parent = nullptr);

 signals:
  void picked(int index);  // numbered from 1, as SwatchColour numbers them
};

}  // namespace quillsheet
