// A conversion run of the window: it owns the run's thread, its cancel flag,
// the progress sheet while it runs and the end report after it. It is the
// run's ConversionObserver: the run's calls come on its threads and are
// handed to the main thread (Progress and Finished queued; the question
// about a preset without layers blocks only the asking worker). The main
// thread never waits on the run; destroying the controller cancels a run
// and waits for its thread. Main thread only, except the observer calls.
#pragma once

#include <QObject>
#include <filesystem>
#include <thread>
#include <vector>

#include "output/ConversionDriver.h"

class QWidget;

namespace quillsheet {

class ProgressSheet;

class RunController : public QObject, private ConversionObserver {
  Q_OBJECT

 public:
  explicit RunController(QWidget* window);
  ~RunController() override;

  bool Running() const { return running_; }
  // Starts a run (none while one runs) with the progress sheet over the
  // window; `ended` follows the end report.
  void Start(std::vector<PresetChoice> presets, std::vector<DocumentEntry> documents,
             std::filesystem::path destination, ConversionOptions options);
  // Asks the run to stop; quietly: it ends without a report (the window is
  // closing).
  void CancelQuietly();

 signals:
  void ended();

 private:
  void Progress(const ProgressState& state) override;
  bool ContinueWithoutWatermark(const std::string& presetName) override;
  void Finished(const RunReport& report) override;

  void End(const RunReport& report);
  void ShowReport(const RunReport& report, int filterTag);

  QWidget* window_;
  std::thread thread_;
  CancelFlag cancel_{false};
  ProgressSheet* progress_ = nullptr;
  bool running_ = false;
  bool quiet_ = false;
  int filterTag_ = 0;             // of the run under way
  std::filesystem::path folder_;  // where its outputs go
};

// Opens a file or folder with the desktop's program for it; when the
// desktop has none, says so in a message over the window.
void OpenOnDesktop(QWidget* window, const std::filesystem::path& path);

}  // namespace quillsheet
