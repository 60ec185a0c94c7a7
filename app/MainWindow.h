// The main window: the document table with its count, the preset table, the
// preview, and the commands of the toolbar and menus. A thin view over the
// core: it owns the DocumentList and the PresetLibrary, runs adds and
// conversions on threads of their own, and shows their questions and
// progress. Main thread only; workers reach it through queued calls.
#pragma once

#include <QMainWindow>
#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "app/FieldValuesDialog.h"
#include "app/models/DocumentTableModel.h"
#include "app/models/PageRenderQueue.h"
#include "app/models/PresetTableModel.h"
#include "app/models/ThumbnailCache.h"
#include "app/models/WindowActions.h"
#include "editor/EditHistory.h"
#include "editor/PresetLibrary.h"
#include "output/ConversionDriver.h"
#include "output/DocumentList.h"

namespace Ui {
class MainWindow;
}

namespace quillsheet {

class DestinationDialog;
class EditorPanel;
class PresetTableActions;
class ProgressSheet;

class MainWindow : public QMainWindow, private PasswordPrompt, private ConversionObserver {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Adds files and folders on the adding thread (one add at a time; a second
  // request waits for the first).
  void AddPaths(std::vector<std::filesystem::path> paths, bool recursive);

  bool Busy() const { return adding_ || converting_; }
  const DocumentList& documents() const { return documents_; }
  // The presets behind the preset table (the editor works on it).
  PresetLibrary& Library() { return library_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // PasswordPrompt and ConversionObserver: called on worker threads.
  Answer Ask(const std::filesystem::path& file, int attempt) override;
  void Progress(const ProgressState& state) override;
  bool ContinueWithoutWatermark(const std::string& presetName) override;
  void Finished(const RunReport& report) override;

  void ChooseAndAdd();
  void ShowInFolder();
  void ShowAbout();
  void ShowPreferences();
  Result StorePreferences(const GeneralPreferences& preferences);
  void RemoveSelected();
  void RemoveAll();
  // Asks for the destination; the run starts when the dialog is accepted.
  void Convert(bool allDocuments);
  // The same for a run that takes earlier runs' marks off the selected
  // documents (all of them when none is selected).
  void RemoveMarks();
  // The chosen documents: the selected ones, or all when allDocuments or
  // when none is selected.
  std::vector<DocumentEntry> DocumentsToConvert(bool allDocuments) const;
  // The values of the user's own fields the presets' texts need are asked
  // for first, when there are any.
  void AskForFields(std::vector<PresetChoice> presets, std::vector<DocumentEntry> entries);
  void AskForDestination(std::vector<PresetChoice> presets, std::vector<DocumentEntry> entries,
                         bool removeMarksOnly, FieldAnswers fields);
  void StartRunInto(const DestinationDialog& dialog, std::vector<PresetChoice> presets,
                    std::vector<DocumentEntry> entries, bool removeMarksOnly, FieldAnswers fields);
  void StartRun(std::vector<PresetChoice> presets, std::vector<DocumentEntry> documents,
                std::filesystem::path destination, std::optional<EncryptionOptions> encryption,
                bool removeMarksOnly, FieldAnswers fields);
  void EndRun(const RunReport& report);
  void AddFinished(const AddReport& report);
  void UpdateActions();
  void SetToolbarIcons();
  const ListedDocument* SelectedDocument() const;
  void ShowSelectedDocument();
  void RequestPreview();
  void ShowRendered(int slot, int generation, const QImage& image, SizeF pagePoints,
                    bool markHidden);
  // The preview's page: moving through the document, and placing the mark.
  void SetUpPreview();
  void GoToPage(int page);
  void UpdateNavigation();
  void AskForPage();
  void ShowPreviewMenu(const QPoint& where);
  void PlaceMark(PointF displayPoint);
  void NudgeMark(double dx, double dy);
  int PreviewPageCount() const;
  QPixmap ScreenPixmap(const QImage& image) const;  // at the screen's pixel ratio
  std::set<size_t> SelectedDocumentRows() const;
  std::set<size_t> SelectedPresetRows() const;

  std::unique_ptr<Ui::MainWindow> ui_;
  DocumentList documents_;
  PresetLibrary library_;
  EditHistory history_{library_};
  // Destroyed before the list and the library they listen to.
  std::unique_ptr<DocumentTableModel> documentModel_;
  std::unique_ptr<PresetTableModel> presetModel_;
  std::unique_ptr<PresetTableActions> presetActions_;
  EditorPanel* editor_ = nullptr;  // a child widget
  ListenerToken libraryToken_;
  ProgressSheet* progress_ = nullptr;
  static constexpr int kPreviewSlot = -1;  // thumbnails use their page's index
  static constexpr int kMostThumbnails = 500;
  PageRenderQueue renderer_;
  int generation_ = 0;  // of the document on show
  ThumbnailCache thumbnailCache_;
  std::shared_ptr<SourceDocument> thumbnailsOf_;  // the document the strip shows
  QSize thumbnailFit_;
  int previewPage_ = 0;
  std::thread adder_;
  std::thread conversion_;
  CancelFlag cancel_{false};
  bool adding_ = false;
  bool converting_ = false;
  bool closeAfterRun_ = false;
  GeneralPreferences preferences_;  // what the next conversion uses
};

}  // namespace quillsheet
