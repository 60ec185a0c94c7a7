#include "app/PreviewPane.h"

#include <QAction>
#include <QIcon>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>
#include <cmath>
#include <limits>

#include "app/EditorPanel.h"
#include "app/PreferencesDialog.h"
#include "app/QtText.h"
#include "app/WatermarkView.h"
#include "editor/NumberFields.h"
#include "editor/Placement.h"

namespace quillsheet {

PreviewPane::PreviewPane(Widgets widgets, PresetLibrary& library, EditHistory& history,
                         EditorPanel& editor, std::function<const ListedDocument*()> selected,
                         const GeneralPreferences& preferences, QWidget* window)
    : QObject(window),
      ui_(widgets),
      library_(library),
      history_(history),
      editor_(editor),
      selected_(std::move(selected)),
      preferences_(preferences),
      window_(window) {
  connect(&renderer_, &PageRenderQueue::Rendered, this, &PreviewPane::ShowRendered);
  connect(&renderer_, &PageRenderQueue::Failed, this,
          [this](int slot, int generation, const QString& reason) {
            if (slot != kPreviewSlot || generation != generation_) return;
            //% "This page could not be drawn: %1"
            ui_.preview->ShowText(qtTrId("PageNotDrawn").arg(reason));
          });
  connect(ui_.thumbnails, &QListWidget::currentRowChanged, this, &PreviewPane::GoToPage);
  connect(ui_.thumbnailsShown, &QAction::toggled, this, [this](bool shown) {
    ui_.thumbnails->setVisible(shown);
    ShowSelectedDocument();
  });
  WatermarkView* view = ui_.preview;
  connect(view, &WatermarkView::placed, this, [this](PointF point, bool) { PlaceMark(point); });
  connect(view, &WatermarkView::placementEnded, this, [this] { history_.EndStep(); });
  connect(view, &WatermarkView::nudged, this, &PreviewPane::NudgeMark);
  connect(view, &WatermarkView::contextMenuWanted, this, &PreviewPane::ShowPreviewMenu);
  connect(view, &WatermarkView::pageRequested, this, [this](int step) {
    GoToPage(step == WatermarkView::kFirstPage  ? 0
             : step == WatermarkView::kLastPage ? PageCount() - 1
                                                : page_ + step);
  });
  connect(ui_.first, &QToolButton::clicked, this, [this] { GoToPage(0); });
  connect(ui_.previous, &QToolButton::clicked, this, [this] { GoToPage(page_ - 1); });
  connect(ui_.next, &QToolButton::clicked, this, [this] { GoToPage(page_ + 1); });
  connect(ui_.last, &QToolButton::clicked, this, [this] { GoToPage(PageCount() - 1); });
  connect(ui_.number, &QToolButton::clicked, this, &PreviewPane::AskForPage);
}

PreviewPane::~PreviewPane() = default;

int PreviewPane::PageCount() const {
  const ListedDocument* document = selected_();
  return document && document->document ? document->pages : 0;
}

void PreviewPane::GoToPage(int page) {
  if (page < 0 || page >= PageCount() || page == page_) return;
  page_ = page;
  if (page < ui_.thumbnails->count()) {
    const QSignalBlocker quiet(ui_.thumbnails);
    ui_.thumbnails->setCurrentRow(page);
  }
  UpdateNavigation();
  RequestPreview();
}

// The page number also tells screen readers where they are ("Page 2 of 4").
void PreviewPane::UpdateNavigation() {
  const int pages = PageCount();
  const PageNavigation state = NavigationFor(pages, page_);
  ui_.first->setEnabled(state.first);
  ui_.previous->setEnabled(state.previous);
  ui_.number->setEnabled(state.enabled);
  ui_.next->setEnabled(state.next);
  ui_.last->setEnabled(state.last);
  ui_.number->setText(QString::fromStdString(state.label));
  //% "Page %1 of %2"
  ui_.number->setAccessibleDescription(
      state.enabled ? qtTrId("PageOfPages").arg(page_ + 1).arg(pages) : QString());
}

// The go-to-page sheet: a number, past the end the last page, 0 the first.
void PreviewPane::AskForPage() {
  auto* dialog = new QInputDialog(window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  //% "Go to Page"
  dialog->setWindowTitle(qtTrId("GoToPageTitle"));
  //% "Page (1 to %1):"
  dialog->setLabelText(qtTrId("GoToPageLabel").arg(PageCount()));
  dialog->setTextValue(QString::number(page_ + 1));
  if (auto* field = dialog->findChild<QLineEdit*>()) {
    connect(field, &QLineEdit::textEdited, field, [field](const QString& text) {
      field->setText(QString::fromStdString(
          NumberFieldRule{NumberFieldKind::PageCount}.AfterTyping(text.toStdString())));
    });
  }
  connect(dialog, &QInputDialog::textValueSelected, this, [this](const QString& text) {
    const QString ended = QString::fromStdString(
        NumberFieldRule{NumberFieldKind::PageCount}.AtEnd(text.toStdString()));
    bool number = false;
    const qlonglong n = ended.toLongLong(&number);
    // A number too long to read is past the end.
    GoToPage(PageForNumber(number ? n : std::numeric_limits<qlonglong>::max(), PageCount()));
  });
  dialog->open();
}

void PreviewPane::ShowPreviewMenu(const QPoint& where) {
  QMenu menu(window_);
  //% "Edit Text Watermark"
  QAction* text =
      menu.addAction(qtTrId("EditTextWatermark"), [this] { editor_.SelectTab(EditorTab::Text); });
  text->setEnabled(editor_.Tab() != EditorTab::Text);
  //% "Edit Fill Watermark"
  QAction* fill =
      menu.addAction(qtTrId("EditFillWatermark"), [this] { editor_.SelectTab(EditorTab::Fill); });
  fill->setEnabled(editor_.Tab() != EditorTab::Fill);
  menu.addSeparator();
  const PageNavigation state = NavigationFor(PageCount(), page_);
  const std::tuple<QToolButton*, bool> items[] = {{ui_.first, state.first},
                                                  {ui_.previous, state.previous},
                                                  {ui_.number, state.enabled},
                                                  {ui_.next, state.next},
                                                  {ui_.last, state.last}};
  for (const auto& [button, enabled] : items) {
    const QString title = button == ui_.number ? qtTrId("GoToPageTitle") + QStringLiteral("\u2026")
                                               : button->accessibleName();
    menu.addAction(title, button, &QToolButton::click)->setEnabled(enabled);
  }
  menu.exec(where);
}

// A click or drag on the page moves the anchor of the layer being edited,
// unless that layer is switched off or no preset is selected.
void PreviewPane::PlaceMark(PointF displayPoint) {
  const auto key = PlacementKey(editor_.Tab(), editor_.TextOn(), editor_.FillOn());
  if (!key || library_.selectedRows().empty()) return;
  history_.Edit(AnchorFor(displayPoint, ui_.preview->pagePoints()), *key);
}

void PreviewPane::NudgeMark(double dx, double dy) {
  const SizeF page = ui_.preview->pagePoints();
  if (library_.selectedRows().empty() || page.width <= 0) return;
  const WatermarkSettings s = library_.GetPresetSettingsForIndex(library_.selectedRow());
  const AnchorRatio anchor = editor_.Tab() == EditorTab::Fill ? s.fillCenter : s.textCenter;
  const auto at = [](double extent, double ratio) {
    return std::isfinite(ratio) && ratio != 0 ? extent / ratio : 0.0;
  };
  PlaceMark({at(page.width, anchor.x) + dx, at(page.height, anchor.y) + dy});
}

// A newly selected document: the title names it, the thumbnails show its
// pages and the preview its first page. Pictures of the one before that
// are still on their way are dropped. With none, the pane is empty.
void PreviewPane::ShowSelectedDocument() {
  const ListedDocument* document = selected_();
  emit titleChanged(document ? Text(document->path.filename().string()) : QString());
  ++generation_;
  renderer_.Clear();
  page_ = 0;
  ui_.thumbnails->clear();
  thumbnailsOf_.reset();
  if (!document || !document->document) {
    //% "Select a document to see it here."
    ui_.preview->ShowText(qtTrId("PreviewEmptyText"));
    UpdateNavigation();
    return;
  }
  const int pages = std::min(document->pages, kMostThumbnails);
  const QSize fit = ui_.thumbnails->iconSize() * window_->devicePixelRatioF();
  for (int page = 0; page < pages; ++page) {
    auto* item = new QListWidgetItem(QString::number(page + 1), ui_.thumbnails);
    //% "Page %1"
    item->setData(Qt::AccessibleTextRole, qtTrId("ThumbnailPageName").arg(page + 1));
  }
  UpdateNavigation();
  RequestPreview();
  if (!ui_.thumbnails->isVisible()) return;
  thumbnailsOf_ = document->document;
  thumbnailFit_ = fit;
  for (int page = 0; page < pages; ++page) {
    const QImage cached = thumbnailCache_.Find(thumbnailsOf_, page, fit);
    if (!cached.isNull()) {
      ui_.thumbnails->item(page)->setIcon(QIcon(ThumbnailPixmap(cached)));
    } else {
      renderer_.Render({page, generation_, document->document, page, fit, std::nullopt, {}});
    }
  }
}

// A white page stands out from a white strip by its border.
QPixmap PreviewPane::ThumbnailPixmap(const QImage& image) const {
  QPixmap pixmap = QPixmap::fromImage(image);
  {
    QPainter border(&pixmap);
    border.setPen(QPen(ui_.thumbnails->palette().color(QPalette::Mid), 1));
    border.drawRect(QRectF(pixmap.rect()).adjusted(0.5, 0.5, -0.5, -0.5));
  }
  pixmap.setDevicePixelRatio(window_->devicePixelRatioF());
  return pixmap;
}

// The preview: the page on show with the selected preset, fitted to the
// view, marked only when the page selection takes the page.
void PreviewPane::RequestPreview() {
  const ListedDocument* document = selected_();
  if (!document || !document->document) return;
  std::optional<WatermarkSettings> settings;
  FieldValues fields;
  if (const std::int64_t row = library_.selectedRow(); row >= 0) {
    settings = library_.GetPresetSettingsForIndex(row);
    settings->showMarker = true;
    settings->markerOnText = editor_.Tab() == EditorTab::Text;
    AddDocumentFields(fields, document->path,
                      library_.waterMarkPresetData()[static_cast<size_t>(row)], FieldTime::Now());
  }
  PageRenderQueue::Request request{
      kPreviewSlot, generation_,      document->document, page_, ui_.preview->PictureSize(),
      settings,     std::move(fields)};
  request.selectionTag = preferences_.pageRangeOptionTag;
  request.rangeText = preferences_.pageRangeString;
  renderer_.Render(std::move(request));
}

void PreviewPane::ShowRendered(int slot, int generation, const QImage& image, SizeF pagePoints,
                               bool markHidden, bool leftOut) {
  if (generation != generation_ || image.isNull()) return;
  if (slot == kPreviewSlot) {
    ui_.preview->ShowPage(image, pagePoints);
    QString note;
    if (leftOut) {
      //% "This page is not marked: page selection %1"
      note = qtTrId("PageLeftOutBadge")
                 .arg(PageSelectionName(preferences_.pageRangeOptionTag,
                                        preferences_.pageRangeString));
    } else if (markHidden) {
      //% "The mark behind the page is hidden on this page (opaque background); put it in front?"
      note = qtTrId("MarkHiddenBadge");
    }
    ui_.preview->ShowBadge(note);
  } else if (QListWidgetItem* item = ui_.thumbnails->item(slot)) {
    thumbnailCache_.Insert(thumbnailsOf_, slot, thumbnailFit_, image);
    item->setIcon(QIcon(ThumbnailPixmap(image)));
  }
}

}  // namespace quillsheet
