#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
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
#include <QScrollArea>
#include <QScrollBar>
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
#include "app/PreviewPane.h"
#include "app/QtText.h"
#include "app/RunController.h"
#include "app/ToolbarIcons.h"
#include "common/AppPaths.h"
#include "common/SettingsStore.h"
#include "editor/NumberFields.h"
#include "output/Destination.h"
#include "output/OutputNaming.h"
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
  documentModel_->SetFilesDropped([this](std::vector<std::filesystem::path> paths, size_t at) {
    AddPaths(std::move(paths), true, at);
  });
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
          [this] { OpenOnDesktop(this, ManualFile()); });
  connect(ui_->actionSupport, &QAction::triggered, this, [this] {
    if (QDesktopServices::openUrl(QUrl(QStringLiteral(QUILLSHEET_SUPPORT_URL)))) return;
    QMessageBox::warning(this, qtTrId("OpenFailedTitle"),
                         qtTrId("OpenFailedMsg").arg(QStringLiteral(QUILLSHEET_SUPPORT_URL)));
  });
  const QAbstractItemModel* model = documentModel_.get();
  connect(model, &QAbstractItemModel::rowsInserted, this, &MainWindow::UpdateActions);
  connect(model, &QAbstractItemModel::rowsRemoved, this, &MainWindow::UpdateActions);
  connect(model, &QAbstractItemModel::modelReset, this, &MainWindow::UpdateActions);
  // The editor beside the preview; it reloads when the library's editor
  // copy changes (a new selection, a revert), and the preview follows every
  // stored change.
  run_ = new RunController(this);
  editor_ = new EditorPanel(library_, history_, preferences_.pictureFolder, this);
  // The editor scrolls when it is taller than the window (a small screen,
  // a large font).
  auto* editorScroller = new QScrollArea(this);
  editorScroller->setObjectName(QStringLiteral("editorScroller"));
  //% "Editor"
  editorScroller->setAccessibleName(qtTrId("EditorScrollerName"));
  editorScroller->setWidgetResizable(true);
  editorScroller->setFrameShape(QFrame::NoFrame);
  editorScroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  editorScroller->setWidget(editor_);
  editorScroller->setMinimumWidth(editor_->minimumSizeHint().width() +
                                  editorScroller->verticalScrollBar()->sizeHint().width());
  ui_->mainSplitter->addWidget(editorScroller);
  ui_->mainSplitter->setStretchFactor(2, 0);
  preview_ = new PreviewPane(
      {ui_->preview, ui_->thumbnails, ui_->actionThumbnails, ui_->firstPageButton,
       ui_->previousPageButton, ui_->pageNumberButton, ui_->nextPageButton, ui_->lastPageButton},
      library_, history_, *editor_, [this] { return SelectedDocument(); }, preferences_, this);
  connect(preview_, &PreviewPane::titleChanged, this, [this](const QString& document) {
    //% "Quillsheet"
    const QString name = qtTrId("WindowTitle");
    setWindowTitle(document.isEmpty() ? name : name + QStringLiteral(" \u2013 ") + document);
  });
  libraryToken_ = library_.AddListener([this](const PresetLibrary::Update& update) {
    if (update.change == PresetLibrary::Change::Editor) editor_->Load();
    if (update.change == PresetLibrary::Change::Preview) preview_->RequestPreview();
    // The last preset gone: nothing to convert with, the page without a mark.
    if (update.change == PresetLibrary::Change::Buttons && library_.selectedRows().empty()) {
      UpdateActions();
      preview_->RequestPreview();
    }
  });
  connect(editor_, &EditorPanel::tabChanged, preview_, &PreviewPane::RequestPreview);
  connect(editor_, &EditorPanel::message, this,
          [this](const QString& text) { statusBar()->showMessage(text, 8000); });
  QAction* undo = history_.stack().createUndoAction(this);
  undo->setObjectName(QStringLiteral("actionUndo"));
  undo->setShortcuts(QKeySequence::Undo);
  QAction* redo = history_.stack().createRedoAction(this);
  redo->setObjectName(QStringLiteral("actionRedo"));
  redo->setShortcuts(QKeySequence::Redo);
  ui_->editMenu->insertActions(ui_->actionPreferences, {undo, redo});
  ui_->editMenu->insertSeparator(ui_->actionPreferences);
  connect(run_, &RunController::ended, this, [this] {
    UpdateActions();
    if (closeAfterRun_) close();
  });

  connect(ui_->documentTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] {
            UpdateActions();
            preview_->ShowSelectedDocument();
          });
  // Rows dragged to a new place stay selected there.
  connect(
      documentModel_.get(), &DocumentTableModel::rowsDragged, this, [this](int first, int count) {
        QItemSelection moved(
            documentModel_->index(first, 0),
            documentModel_->index(first + count - 1, DocumentTableModel::ColumnCount - 1));
        ui_->documentTable->selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
      });
  connect(ui_->presetTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    // While the library has presets one stays selected: a table that lost
    // its selection (its rows were redone) shows the library's again.
    const std::set<size_t> rows = SelectedPresetRows();
    if (rows.empty() && !library_.waterMarkPresetData().empty()) {
      QTimer::singleShot(0, presetActions_.get(), &PresetTableActions::ShowLibrarySelection);
      return;
    }
    history_.EndStep();
    // The row shown in the editor is the current one, or the last selected
    // when the selection came without a current row (from a screen reader);
    // none once the last preset is gone.
    const auto current = ui_->presetTable->selectionModel()->currentIndex();
    library_.SetSelection(rows, rows.empty() ? std::nullopt
                                : current.isValid() && rows.count(current.row())
                                    ? std::optional<size_t>(current.row())
                                    : std::optional<size_t>(*rows.rbegin()));
    UpdateActions();
    preview_->RequestPreview();
  });
  WatchLibrary();
  SetToolbarIcons();
  UpdateActions();
  preview_->ShowSelectedDocument();
}

// Another program (the command line, another window) changing the preset
// library: the table takes in its presets, keeping those modified here. A
// file replaced whole leaves the watcher, so it is watched again each time.
void MainWindow::WatchLibrary() {
  auto* watcher = new QFileSystemWatcher(this);
  const QString file = Text(SettingsFilePath(kPresetLibraryFileFormat));
  watcher->addPath(file);
  watcher->addPath(QFileInfo(file).absolutePath());
  auto* settle = new QTimer(this);
  settle->setSingleShot(true);
  settle->setInterval(150);
  connect(settle, &QTimer::timeout, this, [this, watcher, file] {
    if (!watcher->files().contains(file)) watcher->addPath(file);
    library_.Refresh();
  });
  connect(watcher, &QFileSystemWatcher::fileChanged, settle, qOverload<>(&QTimer::start));
  connect(watcher, &QFileSystemWatcher::directoryChanged, settle, qOverload<>(&QTimer::start));
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
  pendingAdds_.clear();
  if (adder_.joinable()) adder_.join();
}

bool MainWindow::Busy() const { return adding_ || run_->Running(); }

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
  state.converting = run_->Running();
  state.presetSelected = !library_.selectedRows().empty();
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

void MainWindow::ShowPreferences() {
  auto* dialog = new PreferencesDialog(
      preferences_, [this](const GeneralPreferences& p) { return StorePreferences(p); }, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

// The file is written with the selected preset's row, when there is one.
Result MainWindow::StorePreferences(const GeneralPreferences& preferences) {
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
  auto* dialog = new AddDialog(Text(preferences_.addFolder), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    preferences_.addFolder = dialog->directory().absolutePath().toStdString();
    AddPaths(dialog->Chosen(), dialog->Recursive());
  });
  dialog->open();
}

void MainWindow::AddPaths(std::vector<std::filesystem::path> paths, bool recursive,
                          std::optional<size_t> at) {
  if (paths.empty()) return;
  pendingAdds_.push_back({std::move(paths), recursive, at});
  if (!adding_) StartNextAdd();
}

void MainWindow::StartNextAdd() {
  if (adder_.joinable()) adder_.join();
  if (pendingAdds_.empty()) return;
  PendingAdd add = std::move(pendingAdds_.front());
  pendingAdds_.pop_front();
  adding_ = true;
  UpdateActions();
  const size_t countBefore = documents_.Count();
  adder_ = std::thread([this, add = std::move(add), countBefore] {
    AddReport report;
    try {
      report = documents_.Add(add.paths, add.recursive, this);
    } catch (const std::exception& error) {
      report.leftOut.emplace_back(add.paths.front(), error.what());
    }
    // Documents dropped between rows move there from the end.
    if (add.at && *add.at < countBefore && report.added > 0) {
      std::set<size_t> added;
      for (size_t row = countBefore; row < countBefore + report.added; ++row) added.insert(row);
      documents_.MoveRows(added, *add.at);
    }
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
  QStringList lines;
  for (const auto& [path, reason] : report.leftOut) {
    //% "%1: %2"
    lines << qtTrId("NotAddedLine").arg(Text(path.filename().string()), Text(reason));
  }
  for (const auto& path : report.alreadyListed) {
    //% "%1: already listed"
    lines << qtTrId("AlreadyListedLine").arg(Text(path.filename().string()));
  }
  if (!lines.isEmpty()) {
    //% "Not added: %1"
    statusBar()->showMessage(qtTrId("NotAddedMsg").arg(lines.join(QStringLiteral("; "))));
  }
  if (closeAfterRun_) {
    close();
    return;
  }
  StartNextAdd();
}

// Blocks only the adding thread until the user answers.
PasswordPrompt::Answer MainWindow::Ask(const std::filesystem::path& file, int attempt) {
  Answer answer;
  QMetaObject::invokeMethod(
      this, [&] { answer = PasswordDialog(file, attempt, this).Ask(); },
      Qt::BlockingQueuedConnection);
  return answer;
}

// The row at the first removed index is selected next (the one before it
// when the last rows went): with nothing selected, Convert would take every
// document. The table learns of the removal through a queued update, so the
// selection follows behind it.
void MainWindow::RemoveSelected() {
  const std::set<size_t> rows = SelectedDocumentRows();
  if (rows.empty()) return;
  const int first = static_cast<int>(*rows.begin());
  documents_.Remove(rows);
  QMetaObject::invokeMethod(
      this,
      [this, first] {
        const int count = documentModel_->rowCount();
        ui_->documentTable->clearSelection();
        if (count > 0) ui_->documentTable->selectRow(std::min(first, count - 1));
        preview_->ShowSelectedDocument();
      },
      Qt::QueuedConnection);
}

void MainWindow::RemoveAll() {
  documents_.RemoveAll();
  QMetaObject::invokeMethod(
      this,
      [this] {
        ui_->documentTable->clearSelection();
        preview_->ShowSelectedDocument();
      },
      Qt::QueuedConnection);
}

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

// A single output is suggested beside its source, named as the naming
// preferences name a converted file (never the source's own name).
void MainWindow::AskForDestination(std::vector<PresetChoice> presets,
                                   std::vector<DocumentEntry> entries, bool removeMarksOnly,
                                   FieldAnswers fields) {
  const bool toFile = DestinationIsFile(removeMarksOnly ? 1 : presets.size(), entries.size(),
                                        std::max<size_t>(1, fields.copies.size()));
  const std::filesystem::path source(entries.front().path);
  // The folder used last, while it is there; else the source's own.
  std::error_code ignored;
  std::filesystem::path suggested =
      !preferences_.destinationFolder.empty() &&
              std::filesystem::is_directory(preferences_.destinationFolder, ignored)
          ? std::filesystem::path(preferences_.destinationFolder)
          : source.parent_path();
  if (toFile && removeMarksOnly) {
    suggested /= source.stem().string() + "-unmarked.pdf";
  } else if (toFile) {
    LabelPosition position = preferences_.addLabelPosition;
    const std::string separator = GetAppFilePrefOptions(preferences_, position);
    suggested = OutputPathInFolder(
        suggested,
        GetFullFileNameForPresetIndex(SafeNameComponent(presets.front().name), position, separator,
                                      source.stem().string()),
        false, {source});
  }
  const QString pages = removeMarksOnly ? QString()
                                        : PageSelectionName(preferences_.pageRangeOptionTag,
                                                            preferences_.pageRangeString);
  // Window-modal and not waited on: the window goes on serving its events.
  auto* dialog = new DestinationDialog(removeMarksOnly ? DestinationDialog::Purpose::RemoveMarks
                                                       : DestinationDialog::Purpose::Convert,
                                       toFile, suggested, pages, this);
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
  if (dialog.Destination().empty() || run_->Running()) return;
  preferences_.destinationFolder = dialog.directory().absolutePath().toStdString();
  // Outputs are never written unprotected when protection was asked for.
  if (const auto problem =
          EncryptionRequestProblem(dialog.Encrypt(), dialog.Password(), dialog.Verification())) {
    //% "Nothing was converted: %1."
    const QString text = qtTrId("NothingConvertedMsg").arg(Text(*problem));
    QMessageBox::warning(this, qtTrId("OpenDestinationDialogTitle"), text);
    return;
  }
  ConversionOptions options;
  options.removeMarksOnly = removeMarksOnly;
  options.fields = std::move(fields.values);
  options.copies = std::move(fields.copies);
  options.nameTemplate = std::move(fields.nameTemplate);
  options.preferences = preferences_;
  options.encryption =
      GetEncryptionDictionary(dialog.Encrypt(), dialog.Password(), dialog.Verification());
  options.keepInputPassword = dialog.KeepInputPassword();
  options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  options.toFolder = !DestinationIsFile(removeMarksOnly ? 1 : presets.size(), entries.size(),
                                        std::max<size_t>(1, options.copies.size()));
  // The panel asked before a file was replaced.
  if (const auto problem = PrepareDestination(dialog.Destination(), *options.toFolder)) {
    QMessageBox::warning(this, dialog.windowTitle(),
                         qtTrId("NothingConvertedMsg").arg(Text(*problem)));
    return;
  }
  run_->Start(std::move(presets), std::move(entries), dialog.Destination(), std::move(options));
  UpdateActions();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  preview_->RequestPreview();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (Busy()) {
    //% "A conversion is running. Cancel it and quit?"
    const QString question = qtTrId("QuitDuringRunMsg");
    if (run_->Running() &&
        QMessageBox::question(this, qtTrId("QuitTitle"), question) != QMessageBox::Yes) {
      event->ignore();
      return;
    }
    // The window closes once the run or the add has stopped cleanly; adds
    // still waiting are dropped.
    run_->CancelQuietly();
    pendingAdds_.clear();
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
