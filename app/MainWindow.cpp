#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSizeGrip>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "app/AddDialog.h"
#include "app/DestinationDialog.h"
#include "app/EditorPanel.h"
#include "app/FieldValuesDialog.h"
#include "app/PasswordDialog.h"
#include "app/PreferencesDialog.h"
#include "app/PresetTableActions.h"
#include "app/ProgressSheet.h"
#include "app/QtText.h"
#include "app/ToolbarIcons.h"
#include "common/AppPaths.h"
#include "editor/NumberFields.h"
#include "output/SavePipeline.h"
#include "ui_MainWindow.h"

namespace quillsheet {
namespace {

// The user manual: installed beside the program, or made by the build.
std::filesystem::path ManualFile() {
  std::error_code ignored;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", ignored);
  const auto installed = program.parent_path().parent_path() / "share/doc/quillsheet/manual.pdf";
  if (std::filesystem::exists(installed, ignored)) return installed;
  return QUILLSHEET_BUILT_MANUAL;
}

// Runs f on the window's thread and waits for it: for workers that need an
// answer. Never called on the main thread.
template <typename Function>
void OnMainThreadAndWait(QObject* window, Function f) {
  QMetaObject::invokeMethod(window, f, Qt::BlockingQueuedConnection);
}

std::set<size_t> RowsOf(const QItemSelectionModel* selection) {
  std::set<size_t> rows;
  if (!selection) return rows;
  for (const QModelIndex& index : selection->selectedRows()) {
    rows.insert(static_cast<size_t>(index.row()));
  }
  return rows;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::MainWindow>()), documents_(true) {
  ui_->setupUi(this);
  if (const Result loaded = library_.Load(); !loaded.ok()) {
    statusBar()->showMessage(Text(loaded.message()));
  }
  std::string problem;
  const auto stored = ReadGeneralPrefOptions(&problem);
  preferences_ = stored ? ApplyPreferenceDictionary(*stored) : GeneralPreferences{};
  if (!problem.empty()) statusBar()->showMessage(Text(problem));
  documentModel_ = std::make_unique<DocumentTableModel>(documents_);
  presetModel_ = std::make_unique<PresetTableModel>(library_);
  ui_->documentTable->setModel(documentModel_.get());
  // Drops from a file manager search folders recursively.
  documentModel_->SetFilesDropped(
      [this](std::vector<std::filesystem::path> paths) { AddPaths(std::move(paths), true); });
  ui_->documentTable->setDragDropMode(QAbstractItemView::DragDrop);
  ui_->documentTable->setDefaultDropAction(Qt::MoveAction);
  ui_->documentTable->setDropIndicatorShown(true);
  ui_->documentTable->setDragDropOverwriteMode(false);
  ui_->presetTable->setModel(presetModel_.get());
  presetActions_ = std::make_unique<PresetTableActions>(
      library_, *presetModel_, ui_->presetTable,
      PresetTableActions::Buttons{ui_->addPresetButton, ui_->removePresetButton,
                                  ui_->savePresetButton, ui_->revertPresetButton},
      [this] { return editor_->WatermarkText(); }, [this] { history_.Clear(); });
  ui_->documentTable->horizontalHeader()->setSectionResizeMode(DocumentTableModel::NameColumn,
                                                               QHeaderView::Stretch);
  ui_->documentTable->horizontalHeader()->setSectionResizeMode(DocumentTableModel::PagesColumn,
                                                               QHeaderView::ResizeToContents);
  // The lists keep their width when the window is resized; their divider
  // moves between 109 and 309 points.
  ui_->listsPane->setMinimumWidth(109);
  ui_->listsPane->setMaximumWidth(309);
  ui_->mainSplitter->setStretchFactor(0, 0);
  ui_->mainSplitter->setStretchFactor(1, 1);
  ui_->mainSplitter->setSizes({280, 800});
  // Dividers and the toolbar's overflow button are controls too: they get
  // names for screen readers.
  for (int i = 0; i < ui_->mainSplitter->count(); ++i) {
    //% "Lists Divider"
    ui_->mainSplitter->handle(i)->setAccessibleName(qtTrId("ListsDividerName"));
  }
  for (int i = 0; i < ui_->previewSplitter->count(); ++i) {
    //% "Thumbnails Divider"
    ui_->previewSplitter->handle(i)->setAccessibleName(qtTrId("ThumbnailsDividerName"));
  }
  if (auto* grip = statusBar()->findChild<QSizeGrip*>()) {
    //% "Resize Window"
    grip->setAccessibleName(qtTrId("SizeGripName"));
  }
  if (auto* more = ui_->toolBar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"))) {
    //% "More Tools"
    more->setAccessibleName(qtTrId("MoreToolsName"));
  }
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(ui_->documentTable),
                                  static_cast<QAbstractItemView*>(ui_->presetTable)}) {
    view->setTabKeyNavigation(false);
  }
  if (library_.selectedRow() >= 0) {
    ui_->presetTable->selectRow(static_cast<int>(library_.selectedRow()));
  }

  connect(ui_->actionAdd, &QAction::triggered, this, &MainWindow::ChooseAndAdd);
  connect(ui_->actionRemove, &QAction::triggered, this, &MainWindow::RemoveSelected);
  connect(ui_->actionRemoveAll, &QAction::triggered, this, &MainWindow::RemoveAll);
  connect(ui_->actionConvert, &QAction::triggered, this, [this] { Convert(false); });
  connect(ui_->actionConvertAll, &QAction::triggered, this, [this] { Convert(true); });
  connect(ui_->actionRemoveMarks, &QAction::triggered, this, &MainWindow::RemoveMarks);
  connect(ui_->actionQuit, &QAction::triggered, this, &QWidget::close);
  connect(ui_->actionPreferences, &QAction::triggered, this, &MainWindow::ShowPreferences);
  connect(ui_->actionShowInFolder, &QAction::triggered, this, &MainWindow::ShowInFolder);
  connect(ui_->documentTable, &QAbstractItemView::doubleClicked, this, &MainWindow::ShowInFolder);
  connect(ui_->actionAbout, &QAction::triggered, this, &MainWindow::ShowAbout);
  connect(ui_->actionHelp, &QAction::triggered, this,
          [] { QDesktopServices::openUrl(QUrl::fromLocalFile(Text(ManualFile()))); });
  connect(ui_->actionSupport, &QAction::triggered, this,
          [] { QDesktopServices::openUrl(QUrl(QStringLiteral(QUILLSHEET_SUPPORT_URL))); });
  const QAbstractItemModel* model = documentModel_.get();
  connect(model, &QAbstractItemModel::rowsInserted, this, &MainWindow::UpdateActions);
  connect(model, &QAbstractItemModel::rowsRemoved, this, &MainWindow::UpdateActions);
  connect(model, &QAbstractItemModel::modelReset, this, &MainWindow::UpdateActions);
  connect(ui_->documentTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] {
            UpdateActions();
            ShowSelectedDocument();
          });
  connect(ui_->presetTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    // While the library has presets one stays selected: a table that lost
    // its selection (its rows were redone) shows the library's again.
    if (SelectedPresetRows().empty() && !library_.waterMarkPresetData().empty()) {
      QTimer::singleShot(0, presetActions_.get(), &PresetTableActions::ShowLibrarySelection);
      return;
    }
    history_.EndStep();
    // The row shown in the editor is the current one, or the last selected
    // when the selection came without a current row (from a screen reader).
    const std::set<size_t> rows = SelectedPresetRows();
    const auto current = ui_->presetTable->selectionModel()->currentIndex();
    library_.SetSelection(rows, current.isValid() && rows.count(current.row())
                                    ? std::optional<size_t>(current.row())
                                    : std::optional<size_t>(*rows.rbegin()));
    UpdateActions();
    RequestPreview();
  });
  connect(&renderer_, &PageRenderQueue::Rendered, this, &MainWindow::ShowRendered);
  connect(ui_->thumbnails, &QListWidget::currentRowChanged, this, &MainWindow::GoToPage);
  connect(ui_->actionThumbnails, &QAction::toggled, this, [this](bool shown) {
    ui_->thumbnails->setVisible(shown);
    ShowSelectedDocument();
  });
  SetUpPreview();
  SetToolbarIcons();
  UpdateActions();
  ShowSelectedDocument();
}

// The editor beside the preview, the preview's placement and its page
// navigation. The editor reloads when the library's editor copy changes (a
// new selection, a revert) and the preview follows every stored change.
void MainWindow::SetUpPreview() {
  editor_ = new EditorPanel(library_, history_, this);
  ui_->mainSplitter->addWidget(editor_);
  ui_->mainSplitter->setStretchFactor(2, 0);
  libraryToken_ = library_.AddListener([this](const PresetLibrary::Update& update) {
    if (update.change == PresetLibrary::Change::Editor) editor_->Load();
    if (update.change == PresetLibrary::Change::Preview) RequestPreview();
  });
  connect(editor_, &EditorPanel::tabChanged, this, &MainWindow::RequestPreview);
  QAction* undo = history_.stack().createUndoAction(this);
  undo->setObjectName(QStringLiteral("actionUndo"));
  undo->setShortcuts(QKeySequence::Undo);
  QAction* redo = history_.stack().createRedoAction(this);
  redo->setObjectName(QStringLiteral("actionRedo"));
  redo->setShortcuts(QKeySequence::Redo);
  ui_->editMenu->insertActions(ui_->actionPreferences, {undo, redo});
  ui_->editMenu->insertSeparator(ui_->actionPreferences);
  connect(editor_, &EditorPanel::message, this,
          [this](const QString& text) { statusBar()->showMessage(text, 8000); });
  WatermarkView* view = ui_->preview;
  connect(view, &WatermarkView::placed, this, [this](PointF point, bool) { PlaceMark(point); });
  connect(view, &WatermarkView::placementEnded, this, [this] { history_.EndStep(); });
  connect(view, &WatermarkView::nudged, this, &MainWindow::NudgeMark);
  connect(view, &WatermarkView::contextMenuWanted, this, &MainWindow::ShowPreviewMenu);
  connect(view, &WatermarkView::pageRequested, this, [this](int step) {
    GoToPage(step == WatermarkView::kFirstPage  ? 0
             : step == WatermarkView::kLastPage ? PreviewPageCount() - 1
                                                : previewPage_ + step);
  });
  connect(ui_->firstPageButton, &QToolButton::clicked, this, [this] { GoToPage(0); });
  connect(ui_->previousPageButton, &QToolButton::clicked, this,
          [this] { GoToPage(previewPage_ - 1); });
  connect(ui_->nextPageButton, &QToolButton::clicked, this, [this] { GoToPage(previewPage_ + 1); });
  connect(ui_->lastPageButton, &QToolButton::clicked, this,
          [this] { GoToPage(PreviewPageCount() - 1); });
  connect(ui_->pageNumberButton, &QToolButton::clicked, this, &MainWindow::AskForPage);
}

int MainWindow::PreviewPageCount() const {
  const ListedDocument* document = SelectedDocument();
  return document && document->document ? document->pages : 0;
}

void MainWindow::GoToPage(int page) {
  if (page < 0 || page >= PreviewPageCount() || page == previewPage_) return;
  previewPage_ = page;
  if (page < ui_->thumbnails->count()) {
    const QSignalBlocker quiet(ui_->thumbnails);
    ui_->thumbnails->setCurrentRow(page);
  }
  UpdateNavigation();
  RequestPreview();
}

void MainWindow::UpdateNavigation() {
  const PageNavigation state = NavigationFor(PreviewPageCount(), previewPage_);
  ui_->firstPageButton->setEnabled(state.first);
  ui_->previousPageButton->setEnabled(state.previous);
  ui_->pageNumberButton->setEnabled(state.enabled);
  ui_->nextPageButton->setEnabled(state.next);
  ui_->lastPageButton->setEnabled(state.last);
  ui_->pageNumberButton->setText(QString::fromStdString(state.label));
}

// The go-to-page sheet: a number, past the end the last page, 0 the first.
void MainWindow::AskForPage() {
  auto* dialog = new QInputDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  //% "Go to Page"
  dialog->setWindowTitle(qtTrId("GoToPageTitle"));
  //% "Page (1 to %1):"
  dialog->setLabelText(qtTrId("GoToPageLabel").arg(PreviewPageCount()));
  dialog->setTextValue(QString::number(previewPage_ + 1));
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
    GoToPage(PageForNumber(number ? n : std::numeric_limits<qlonglong>::max(), PreviewPageCount()));
  });
  dialog->open();
}

void MainWindow::ShowPreviewMenu(const QPoint& where) {
  QMenu menu(this);
  //% "Edit Text Watermark"
  QAction* text =
      menu.addAction(qtTrId("EditTextWatermark"), [this] { editor_->SelectTab(EditorTab::Text); });
  text->setEnabled(editor_->Tab() != EditorTab::Text);
  //% "Edit Fill Watermark"
  QAction* fill =
      menu.addAction(qtTrId("EditFillWatermark"), [this] { editor_->SelectTab(EditorTab::Fill); });
  fill->setEnabled(editor_->Tab() != EditorTab::Fill);
  menu.addSeparator();
  const PageNavigation state = NavigationFor(PreviewPageCount(), previewPage_);
  const std::tuple<QToolButton*, bool> items[] = {{ui_->firstPageButton, state.first},
                                                  {ui_->previousPageButton, state.previous},
                                                  {ui_->pageNumberButton, state.enabled},
                                                  {ui_->nextPageButton, state.next},
                                                  {ui_->lastPageButton, state.last}};
  for (const auto& [button, enabled] : items) {
    const QString title = button == ui_->pageNumberButton
                              ? qtTrId("GoToPageTitle") + QStringLiteral("\u2026")
                              : button->accessibleName();
    menu.addAction(title, button, &QToolButton::click)->setEnabled(enabled);
  }
  menu.exec(where);
}

// A click or drag on the page moves the anchor of the layer being edited,
// unless that layer is switched off or no preset is selected.
void MainWindow::PlaceMark(PointF displayPoint) {
  const auto key = PlacementKey(editor_->Tab(), editor_->TextOn(), editor_->FillOn());
  if (!key || library_.selectedRows().empty()) return;
  history_.Edit(AnchorFor(displayPoint, ui_->preview->pagePoints()), *key);
}

void MainWindow::NudgeMark(double dx, double dy) {
  const SizeF page = ui_->preview->pagePoints();
  if (library_.selectedRows().empty() || page.width <= 0) return;
  const WatermarkSettings s = library_.GetPresetSettingsForIndex(library_.selectedRow());
  const AnchorRatio anchor = editor_->Tab() == EditorTab::Fill ? s.fillCenter : s.textCenter;
  const auto at = [](double extent, double ratio) {
    return std::isfinite(ratio) && ratio != 0 ? extent / ratio : 0.0;
  };
  PlaceMark({at(page.width, anchor.x) + dx, at(page.height, anchor.y) + dy});
}

void MainWindow::SetToolbarIcons() {
  const std::pair<QAction*, const char*> icons[] = {{ui_->actionAdd, "add"},
                                                    {ui_->actionRemove, "remove"},
                                                    {ui_->actionRemoveAll, "remove-all"},
                                                    {ui_->actionConvert, "convert"},
                                                    {ui_->actionConvertAll, "convert-all"},
                                                    {ui_->actionThumbnails, "thumbnails"},
                                                    {ui_->actionPreferences, "preferences"},
                                                    {ui_->actionHelp, "help"}};
  for (const auto& [action, name] : icons) {
    action->setIcon(ToolbarIcon(QString::fromLatin1(name), palette()));
  }
}

// A switch between light and dark palettes redraws the icons in the new ink.
void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) SetToolbarIcons();
}

MainWindow::~MainWindow() {
  library_.RemoveListener(libraryToken_);
  cancel_ = true;
  if (conversion_.joinable()) conversion_.join();
  if (adder_.joinable()) adder_.join();
}

std::set<size_t> MainWindow::SelectedDocumentRows() const {
  return RowsOf(ui_->documentTable->selectionModel());
}

std::set<size_t> MainWindow::SelectedPresetRows() const {
  return RowsOf(ui_->presetTable->selectionModel());
}

void MainWindow::UpdateActions() {
  WindowState state;
  state.documentCount = documents_.Count();
  state.selectedDocuments = SelectedDocumentRows().size();
  state.adding = adding_;
  state.converting = converting_;
  state.presetSelected = !SelectedPresetRows().empty();
  const WindowActions enabled = EnabledActions(state);
  ui_->actionAdd->setEnabled(enabled.add);
  ui_->actionRemove->setEnabled(enabled.remove);
  ui_->actionRemoveAll->setEnabled(enabled.removeAll);
  ui_->actionConvert->setEnabled(enabled.convert);
  ui_->actionConvertAll->setEnabled(enabled.convertAll);
  ui_->actionRemoveMarks->setEnabled(enabled.removeMarks);
  ui_->actionPreferences->setEnabled(enabled.preferences);
  ui_->actionHelp->setEnabled(enabled.help);
  ui_->actionShowInFolder->setEnabled(enabled.showInFolder);
  ui_->countLabel->setText(Text(documents_.CountLabel()));
}

const ListedDocument* MainWindow::SelectedDocument() const {
  const auto rows = SelectedDocumentRows();
  return rows.empty() ? nullptr : documentModel_->Document(static_cast<int>(*rows.begin()));
}

// A newly selected document: the title names it, the thumbnails show its
// pages and the preview its first page. Pictures of the one before that
// are still on their way are dropped.
void MainWindow::ShowSelectedDocument() {
  const ListedDocument* document = SelectedDocument();
  //% "Quillsheet"
  const QString name = qtTrId("WindowTitle");
  setWindowTitle(document
                     ? name + QStringLiteral(" \u2013 ") + Text(document->path.filename().string())
                     : name);
  ++generation_;
  renderer_.Clear();
  previewPage_ = 0;
  ui_->thumbnails->clear();
  if (!document || !document->document) {
    //% "Select a document to see it here."
    ui_->preview->ShowText(qtTrId("PreviewEmptyText"));
    UpdateNavigation();
    return;
  }
  const int pages = std::min(document->pages, kMostThumbnails);
  const QSize fit = ui_->thumbnails->iconSize() * devicePixelRatioF();
  for (int page = 0; page < pages; ++page) {
    auto* item = new QListWidgetItem(QString::number(page + 1), ui_->thumbnails);
    //% "Page %1"
    item->setData(Qt::AccessibleTextRole, qtTrId("ThumbnailPageName").arg(page + 1));
  }
  UpdateNavigation();
  RequestPreview();
  if (!ui_->thumbnails->isVisible()) return;
  thumbnailsOf_ = document->document;
  thumbnailFit_ = fit;
  for (int page = 0; page < pages; ++page) {
    const QImage cached = thumbnailCache_.Find(thumbnailsOf_, page, fit);
    if (!cached.isNull()) {
      ui_->thumbnails->item(page)->setIcon(QIcon(ScreenPixmap(cached)));
    } else {
      renderer_.Render({page, generation_, document->document, page, fit, std::nullopt, {}});
    }
  }
}

QPixmap MainWindow::ScreenPixmap(const QImage& image) const {
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setDevicePixelRatio(devicePixelRatioF());
  return pixmap;
}

// The preview: the page on show with the selected preset, fitted to the view.
void MainWindow::RequestPreview() {
  const ListedDocument* document = SelectedDocument();
  if (!document || !document->document) return;
  std::optional<WatermarkSettings> settings;
  FieldValues fields;
  if (const std::int64_t row = library_.selectedRow(); row >= 0) {
    settings = library_.GetPresetSettingsForIndex(row);
    settings->showMarker = true;
    settings->markerOnText = editor_->Tab() == EditorTab::Text;
    AddDocumentFields(fields, document->path,
                      library_.waterMarkPresetData()[static_cast<size_t>(row)], FieldTime::Now());
  }
  renderer_.Render({kPreviewSlot, generation_, document->document, previewPage_,
                    ui_->preview->PictureSize(), settings, std::move(fields)});
}

void MainWindow::ShowRendered(int slot, int generation, const QImage& image, SizeF pagePoints,
                              bool markHidden) {
  if (generation != generation_ || image.isNull()) return;
  if (slot == kPreviewSlot) {
    ui_->preview->ShowPage(image, pagePoints);
    //% "The mark behind the page is hidden on this page (opaque background); put it in front?"
    ui_->preview->ShowBadge(markHidden ? qtTrId("MarkHiddenBadge") : QString());
  } else if (QListWidgetItem* item = ui_->thumbnails->item(slot)) {
    thumbnailCache_.Insert(thumbnailsOf_, slot, thumbnailFit_, image);
    item->setIcon(QIcon(ScreenPixmap(image)));
  }
}

void MainWindow::ShowPreferences() {
  auto* dialog = new PreferencesDialog(
      preferences_, [this](const GeneralPreferences& p) { return StorePreferences(p); }, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

// The file is written with the selected preset's row; without a selected
// preset there is nothing to write.
Result MainWindow::StorePreferences(const GeneralPreferences& preferences) {
  if (library_.selectedRow() < 0) return Result::Ok();
  return WriteGeneralPrefOptions(preferences, library_.selectedRow());
}

// The selected documents, shown selected in the desktop's file manager
// (its FileManager1 service), or their folders when it has none.
void MainWindow::ShowInFolder() {
  QStringList files;
  std::vector<std::filesystem::path> folders;
  for (size_t row : SelectedDocumentRows()) {
    if (const ListedDocument* document = documentModel_->Document(static_cast<int>(row))) {
      files << QUrl::fromLocalFile(Text(document->path)).toString();
      folders.push_back(document->path.parent_path());
    }
  }
  if (files.isEmpty()) return;
  QDBusInterface fileManager(QStringLiteral("org.freedesktop.FileManager1"),
                             QStringLiteral("/org/freedesktop/FileManager1"),
                             QStringLiteral("org.freedesktop.FileManager1"));
  if (fileManager.isValid() &&
      fileManager.call(QStringLiteral("ShowItems"), files, QString()).type() !=
          QDBusMessage::ErrorMessage) {
    return;
  }
  for (const auto& folder : std::set<std::filesystem::path>(folders.begin(), folders.end())) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(Text(folder)));
  }
}

void MainWindow::ShowAbout() {
  QFile credits(Text(ResourceFolder() / "credits.txt"));
  const QString creditsText =
      credits.open(QIODevice::ReadOnly) ? QString::fromUtf8(credits.readAll()) : QString();
  //% "%1 (%2)"
  const QString version =
      qtTrId("AboutVersionFormat")
          .arg(QStringLiteral(QUILLSHEET_VERSION), QStringLiteral(QUILLSHEET_BUILD));
  //% "<h3>Quillsheet</h3><p>Version %1</p>"
  //% "<p>Stamps watermarks onto PDF files, many at a time.</p>"
  //% "<p>Free software under the GNU General Public License, version 3 or later.</p>"
  //% "<p>%2</p>"
  const QString text = qtTrId("AboutText").arg(version, creditsText.toHtmlEscaped());
  //% "About Quillsheet"
  QMessageBox::about(this, qtTrId("AboutTitle"), text);
}

void MainWindow::ChooseAndAdd() {
  auto* dialog = new AddDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this,
          [this, dialog] { AddPaths(dialog->Chosen(), dialog->Recursive()); });
  dialog->open();
}

void MainWindow::AddPaths(std::vector<std::filesystem::path> paths, bool recursive) {
  if (paths.empty()) return;
  if (adding_) {
    // One add at a time: this one starts when the running one has ended.
    QMetaObject::invokeMethod(
        this, [this, paths, recursive] { AddPaths(paths, recursive); }, Qt::QueuedConnection);
    return;
  }
  if (adder_.joinable()) adder_.join();
  adding_ = true;
  UpdateActions();
  adder_ = std::thread([this, paths = std::move(paths), recursive] {
    const AddReport report = documents_.Add(paths, recursive, this);
    QMetaObject::invokeMethod(
        this, [this, report] { AddFinished(report); }, Qt::QueuedConnection);
  });
}

void MainWindow::AddFinished(const AddReport& report) {
  adder_.join();
  adding_ = false;
  // The first document is on show once there is one.
  if (SelectedDocumentRows().empty() && documentModel_->rowCount() > 0) {
    ui_->documentTable->selectRow(0);
  }
  UpdateActions();
  if (!report.leftOut.empty()) {
    QStringList lines;
    for (const auto& [path, reason] : report.leftOut) {
      //% "%1: %2"
      lines << qtTrId("NotAddedLine").arg(Text(path.filename().string()), Text(reason));
    }
    //% "Not added: %1"
    statusBar()->showMessage(qtTrId("NotAddedMsg").arg(lines.join(QStringLiteral("; "))));
  }
  if (closeAfterRun_) close();
}

PasswordPrompt::Answer MainWindow::Ask(const std::filesystem::path& file, int attempt) {
  Answer answer;
  OnMainThreadAndWait(this, [&] { answer = PasswordDialog(file, attempt, this).Ask(); });
  return answer;
}

void MainWindow::RemoveSelected() { documents_.Remove(SelectedDocumentRows()); }

void MainWindow::RemoveAll() { documents_.RemoveAll(); }

void MainWindow::Convert(bool allDocuments) {
  std::vector<PresetChoice> presets;
  for (size_t row : SelectedPresetRows()) {
    presets.push_back({library_.waterMarkPresetData()[row],
                       library_.GetPresetSettingsForIndex(static_cast<std::int64_t>(row))});
  }
  std::vector<DocumentEntry> entries = DocumentsToConvert(allDocuments);
  if (presets.empty() || entries.empty()) return;
  AskForFields(std::move(presets), std::move(entries));
}

void MainWindow::AskForFields(std::vector<PresetChoice> presets,
                              std::vector<DocumentEntry> entries) {
  const std::vector<std::string> names = UserFieldsNeeded(presets);
  if (names.empty()) return AskForDestination(std::move(presets), std::move(entries), false, {});
  // Window-modal and not waited on, as the destination dialog.
  auto* dialog = new FieldValuesDialog(names, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this,
          [this, dialog, presets = std::move(presets), entries = std::move(entries)]() mutable {
            AskForDestination(std::move(presets), std::move(entries), false, dialog->Answers());
          });
  dialog->open();
}

void MainWindow::RemoveMarks() {
  std::vector<DocumentEntry> entries = DocumentsToConvert(false);
  if (entries.empty()) return;
  AskForDestination({}, std::move(entries), true, {});
}

std::vector<DocumentEntry> MainWindow::DocumentsToConvert(bool allDocuments) const {
  const auto listed = documents_.Snapshot();
  std::set<size_t> rows = allDocuments ? std::set<size_t>{} : SelectedDocumentRows();
  std::vector<DocumentEntry> entries;
  for (size_t row = 0; row < listed.size(); ++row) {
    if (rows.empty() || rows.count(row)) entries.push_back(listed[row].Entry());
  }
  return entries;
}

void MainWindow::AskForDestination(std::vector<PresetChoice> presets,
                                   std::vector<DocumentEntry> entries, bool removeMarksOnly,
                                   FieldAnswers fields) {
  const bool toFile = DestinationIsFile(removeMarksOnly ? 1 : presets.size(), entries.size(),
                                        std::max<size_t>(1, fields.copies.size()));
  const std::filesystem::path source(entries.front().path);
  const std::string suffix = removeMarksOnly ? "-unmarked.pdf" : "-marked.pdf";
  // Window-modal and not waited on: the window goes on serving its events.
  auto* dialog = new DestinationDialog(
      toFile,
      toFile ? source.parent_path() / (source.stem().string() + suffix) : source.parent_path(),
      this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this,
          [this, dialog, presets = std::move(presets), entries = std::move(entries),
           removeMarksOnly, fields = std::move(fields)]() mutable {
            StartRunInto(*dialog, std::move(presets), std::move(entries), removeMarksOnly,
                         std::move(fields));
          });
  dialog->open();
}

void MainWindow::StartRunInto(const DestinationDialog& dialog, std::vector<PresetChoice> presets,
                              std::vector<DocumentEntry> entries, bool removeMarksOnly,
                              FieldAnswers fields) {
  if (dialog.Destination().empty() || converting_) return;
  // Outputs are never written unprotected when protection was asked for.
  if (const auto problem =
          EncryptionRequestProblem(dialog.Encrypt(), dialog.Password(), dialog.Verification())) {
    //% "Nothing was converted: %1."
    const QString text = qtTrId("EncryptionRefusedMsg").arg(Text(*problem));
    QMessageBox::warning(this, qtTrId("OpenDestinationDialogTitle"), text);
    return;
  }
  StartRun(std::move(presets), std::move(entries), dialog.Destination(),
           GetEncryptionDictionary(dialog.Encrypt(), dialog.Password(), dialog.Verification()),
           removeMarksOnly, std::move(fields));
}

void MainWindow::StartRun(std::vector<PresetChoice> presets, std::vector<DocumentEntry> documents,
                          std::filesystem::path destination,
                          std::optional<EncryptionOptions> encryption, bool removeMarksOnly,
                          FieldAnswers fields) {
  ConversionOptions options;
  options.removeMarksOnly = removeMarksOnly;
  options.fields = std::move(fields.values);
  options.copies = std::move(fields.copies);
  options.nameTemplate = std::move(fields.nameTemplate);
  options.preferences = preferences_;
  options.encryption = std::move(encryption);
  options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  options.toFolder = !DestinationIsFile(removeMarksOnly ? 1 : presets.size(), documents.size(),
                                        std::max<size_t>(1, options.copies.size()));
  cancel_ = false;
  converting_ = true;
  UpdateActions();
  progress_ = new ProgressSheet(cancel_, this);
  progress_->show();
  conversion_ = StartConversion(std::move(presets), std::move(documents), std::move(destination),
                                options, *this, cancel_);
}

void MainWindow::Progress(const ProgressState& state) {
  QMetaObject::invokeMethod(
      this,
      [this, state] {
        if (progress_) progress_->Show(state);
      },
      Qt::QueuedConnection);
}

bool MainWindow::ContinueWithoutWatermark(const std::string& presetName) {
  bool goOn = false;
  OnMainThreadAndWait(this, [&] {
    QMessageBox box(this);
    box.setIcon(QMessageBox::Question);
    //% "The preset \"%1\" has no watermark layer switched on."
    box.setText(qtTrId("EmptyWatermarkAlertMsg").arg(Text(presetName)));
    //% "Convert its documents without a watermark?"
    box.setInformativeText(qtTrId("EmptyWatermarkAlertMsg1"));
    //% "Continue"
    QPushButton* goOnButton = box.addButton(qtTrId("ContinueTitle"), QMessageBox::AcceptRole);
    box.addButton(qtTrId("CancelTitle"), QMessageBox::RejectRole);
    box.setDefaultButton(goOnButton);
    box.exec();
    goOn = box.clickedButton() == goOnButton;
  });
  return goOn;
}

void MainWindow::Finished(const RunReport& report) {
  QMetaObject::invokeMethod(
      this, [this, report] { EndRun(report); }, Qt::QueuedConnection);
}

// The end report: how many outputs were made, every failure with its
// reason, the warnings, and a way to see the result.
void MainWindow::EndRun(const RunReport& report) {
  conversion_.join();
  converting_ = false;
  progress_->deleteLater();
  progress_ = nullptr;
  UpdateActions();
  if (closeAfterRun_) {
    close();
    return;
  }
  QStringList details;
  if (!report.refused.empty()) details << Text(report.refused);
  for (const OutputResult* failure : report.Failures()) {
    const QString file = Text(std::filesystem::path(failure->source).filename().string());
    if (failure->preset == kMarkRemovalName) {
      //% "%1: %2"
      details << qtTrId("FailedRemovalLine").arg(file, Text(failure->outcome.message()));
      continue;
    }
    //% "%1 with \"%2\": %3"
    details << qtTrId("FailedOutputLine")
                   .arg(file, Text(failure->preset), Text(failure->outcome.message()));
  }
  for (const OutputResult& result : report.results) {
    for (const std::string& warning : result.warnings) details << Text(warning);
  }
  QMessageBox box(this);
  //% "Conversion"
  box.setWindowTitle(qtTrId("SuccessfullConvertTitle"));
  box.setIcon(report.Failures().empty() && report.refused.empty() ? QMessageBox::Information
                                                                  : QMessageBox::Warning);
  //% "%n output(s) made"
  QString summary = qtTrId("SuccessfullConvertMsg", static_cast<int>(report.OutputsMade()));
  //% ", %n failed."
  summary += qtTrId("FailedConvertMsg", static_cast<int>(report.Failures().size()));
  //% "Cancelled: the document in progress was not saved."
  if (report.cancelled) summary += "\n" + qtTrId("CancelledConvertMsg");
  box.setText(summary);
  if (!details.isEmpty()) box.setDetailedText(details.join("\n"));
  //% "OK"
  box.addButton(qtTrId("OkButtonString"), QMessageBox::AcceptRole);
  QPushButton* open = nullptr;
  std::filesystem::path shown;
  for (const OutputResult& result : report.results) {
    if (result.outcome.ok()) shown = result.output;
  }
  if (!shown.empty()) {
    const bool single = report.results.size() == 1;
    //% "Open PDF"
    const QString openPdf = qtTrId("OpenPDFFileButton");
    //% "Open Folder"
    const QString openFolder = qtTrId("OpenTargetButton");
    open = box.addButton(single ? openPdf : openFolder, QMessageBox::ActionRole);
    if (!single) shown = shown.parent_path();
  }
  box.exec();
  if (open && box.clickedButton() == open) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(Text(shown)));
  }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RequestPreview();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (converting_ || adding_) {
    //% "A conversion is running. Cancel it and quit?"
    const QString question = qtTrId("QuitDuringRunMsg");
    if (converting_ &&
        QMessageBox::question(this, qtTrId("QuitTitle"), question) != QMessageBox::Yes) {
      event->ignore();
      return;
    }
    // The window closes once the run or the add has stopped cleanly.
    cancel_ = true;
    closeAfterRun_ = true;
    event->ignore();
    return;
  }
  const Result mayQuit = library_.CheckAndSetModifiedPresetRow([this] {
    const auto answer = QMessageBox::question(
        //% "Quit"
        this, qtTrId("QuitTitle"),
        //% "Some presets are modified. Save them before quitting?"
        qtTrId("QuitWithModifiedPresetsMsg"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    return answer == QMessageBox::Save      ? QuitAnswer::Save
           : answer == QMessageBox::Discard ? QuitAnswer::DontSave
                                            : QuitAnswer::Cancel;
  });
  if (mayQuit.cancelled()) {
    event->ignore();
    return;
  }
  if (!mayQuit.ok()) {
    QMessageBox::warning(this, qtTrId("QuitTitle"), Text(mayQuit.message()));
    event->ignore();
    return;
  }
  // The preferences are kept for the next start.
  if (const Result stored = StorePreferences(preferences_); !stored.ok()) {
    QMessageBox::warning(this, qtTrId("QuitTitle"), Text(stored.message()));
  }
  event->accept();
}

}  // namespace quillsheet
