// The main window: the frame around the document table with its count, the
// preset table, the preview pane and the editor, and the commands of the
// toolbar and menus. A thin view over the core: it owns the DocumentList
// and the PresetLibrary, runs adds on a thread of their own and hands runs
// to its RunController. Main thread only; workers reach it through queued
// calls.
#pragma once

#include <QMainWindow>
#include <deque>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "app/FieldValuesDialog.h"
#include "app/models/DocumentTableModel.h"
#include "app/models/PresetTableModel.h"
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
class PreviewPane;
class RunController;

class MainWindow : public QMainWindow, private PasswordPrompt {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Adds files and folders on the adding thread, one add at a time: a
  // request made while one runs waits in line and starts when it ends. The
  // documents go at the end, or before row `at` (where a drop put them).
  void AddPaths(std::vector<std::filesystem::path> paths, bool recursive,
                std::optional<size_t> at = std::nullopt);

  bool Busy() const;
  const DocumentList& documents() const { return documents_; }
  // The presets behind the preset table (the editor works on it).
  PresetLibrary& Library() { return library_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // PasswordPrompt: called on the adding thread.
  Answer Ask(const std::filesystem::path& file, int attempt) override;

  void ChooseAndAdd();
  void StartNextAdd();
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
  void AddFinished(const AddReport& report);
  void UpdateActions();
  void SetToolbarIcons();
  void WatchLibrary();
  const ListedDocument* SelectedDocument() const;
  std::set<size_t> SelectedDocumentRows() const;
  std::set<size_t> SelectedPresetRows() const;

  std::unique_ptr<Ui::MainWindow> ui_;
  DocumentList documents_;
  PresetLibrary library_;
  EditHistory history_{library_};
  GeneralPreferences preferences_;  // what the next conversion uses
  // Destroyed before the list and the library they listen to.
  std::unique_ptr<DocumentTableModel> documentModel_;
  std::unique_ptr<PresetTableModel> presetModel_;
  std::unique_ptr<PresetTableActions> presetActions_;
  EditorPanel* editor_ = nullptr;   // a child widget
  PreviewPane* preview_ = nullptr;  // a child object
  RunController* run_ = nullptr;    // a child object
  ListenerToken libraryToken_;
  std::thread adder_;
  struct PendingAdd {
    std::vector<std::filesystem::path> paths;
    bool recursive = false;
    std::optional<size_t> at;
  };
  std::deque<PendingAdd> pendingAdds_;
  bool adding_ = false;
  bool closeAfterRun_ = false;
};

}  // namespace quillsheet
