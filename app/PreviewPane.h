// The preview pane: the page on show with the selected preset, the strip of
// thumbnails and the page buttons, over the widgets of the main window's
// form. It owns the render queue, the thumbnail cache and the current page;
// clicks, drags and keys on the page become edits of the selected presets
// through the history. Pages the preferences' page selection leaves out are
// shown without the mark, with a note saying so. The library, the history,
// the editor and the widgets must outlive the pane. Main thread only.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "app/models/PageRenderQueue.h"
#include "app/models/ThumbnailCache.h"
#include "common/GeneralPreferences.h"
#include "editor/EditHistory.h"
#include "editor/PresetLibrary.h"
#include "output/DocumentList.h"

class QAction;
class QListWidget;
class QToolButton;
class QWidget;

namespace quillsheet {

class EditorPanel;
class WatermarkView;

class PreviewPane : public QObject {
  Q_OBJECT

 public:
  struct Widgets {
    WatermarkView* preview;
    QListWidget* thumbnails;
    QAction* thumbnailsShown;  // the View menu's switch for the strip
    QToolButton* first;
    QToolButton* previous;
    QToolButton* number;
    QToolButton* next;
    QToolButton* last;
  };
  // selected gives the document to show (none when no row is selected);
  // preferences are read for the page selection at each picture.
  PreviewPane(Widgets widgets, PresetLibrary& library, EditHistory& history, EditorPanel& editor,
              std::function<const ListedDocument*()> selected,
              const GeneralPreferences& preferences, QWidget* window);
  ~PreviewPane() override;

  // A newly selected document (or none): the title it gives the window,
  // its thumbnails and its first page.
  void ShowSelectedDocument();
  // A new picture of the page on show, as the settings stand now.
  void RequestPreview();

 signals:
  // The window's title: the document on show, or none.
  void titleChanged(const QString& title);

 private:
  int PageCount() const;
  void GoToPage(int page);
  void UpdateNavigation();
  void AskForPage();
  void ShowPreviewMenu(const QPoint& where);
  void PlaceMark(PointF displayPoint);
  void NudgeMark(double dx, double dy);
  void ShowRendered(int slot, int generation, const QImage& image, SizeF pagePoints,
                    bool markHidden, bool leftOut);
  // A thumbnail with its page border, at the screen's pixel ratio.
  QPixmap ThumbnailPixmap(const QImage& image) const;

  Widgets ui_;
  PresetLibrary& library_;
  EditHistory& history_;
  EditorPanel& editor_;
  std::function<const ListedDocument*()> selected_;
  const GeneralPreferences& preferences_;
  QWidget* window_;
  static constexpr int kPreviewSlot = -1;  // thumbnails use their page's index
  static constexpr int kMostThumbnails = 500;
  PageRenderQueue renderer_;
  int generation_ = 0;  // of the document on show
  ThumbnailCache thumbnailCache_;
  std::shared_ptr<SourceDocument> thumbnailsOf_;  // the document the strip shows
  QSize thumbnailFit_;
  int page_ = 0;
};

}  // namespace quillsheet
