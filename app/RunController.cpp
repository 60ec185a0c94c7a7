#include "app/RunController.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QWidget>

#include "app/ProgressSheet.h"
#include "app/QtText.h"
#include "output/QualityFilter.h"

namespace quillsheet {

void OpenOnDesktop(QWidget* window, const std::filesystem::path& path) {
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(Text(path)))) return;
  //% "Open"
  QMessageBox::warning(window, qtTrId("OpenFailedTitle"),
                       //% "The desktop has no program to open %1."
                       qtTrId("OpenFailedMsg").arg(Text(path)));
}

RunController::RunController(QWidget* window) : QObject(window), window_(window) {}

RunController::~RunController() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

void RunController::Start(std::vector<PresetChoice> presets, std::vector<DocumentEntry> documents,
                          std::filesystem::path destination, ConversionOptions options) {
  if (running_) return;
  cancel_ = false;
  quiet_ = false;
  running_ = true;
  filterTag_ = options.preferences.filterTag;
  folder_ = options.toFolder.value_or(true) ? destination : destination.parent_path();
  progress_ = new ProgressSheet(cancel_, window_);
  progress_->show();
  thread_ = StartConversion(std::move(presets), std::move(documents), std::move(destination),
                            std::move(options), *this, cancel_);
}

void RunController::CancelQuietly() {
  cancel_ = true;
  quiet_ = true;
}

void RunController::Progress(const ProgressState& state) {
  QMetaObject::invokeMethod(
      this,
      [this, state] {
        if (progress_) progress_->Show(state);
      },
      Qt::QueuedConnection);
}

bool RunController::ContinueWithoutWatermark(const std::string& presetName) {
  bool goOn = false;
  QMetaObject::invokeMethod(
      this,
      [&] {
        QMessageBox box(window_);
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
      },
      Qt::BlockingQueuedConnection);
  return goOn;
}

void RunController::Finished(const RunReport& report) {
  QMetaObject::invokeMethod(
      this, [this, report] { End(report); }, Qt::QueuedConnection);
}

// The sheet goes before the report comes: a deferred delete would wait for
// the report's own event loop to end.
void RunController::End(const RunReport& report) {
  thread_.join();
  running_ = false;
  if (progress_) {
    progress_->hide();
    progress_->deleteLater();
    progress_ = nullptr;
  }
  if (!quiet_) ShowReport(report, filterTag_);
  emit ended();
}

// The end report: how many outputs were made, every failure with its
// reason, the warnings, where the outputs went and a way to see them.
void RunController::ShowReport(const RunReport& report, int filterTag) {
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
  if (const auto problem = QualityFilterProblem(filterTag); problem && report.OutputsMade() > 0) {
    details << Text(*problem);
  }
  for (const OutputResult& result : report.results) {
    for (const std::string& warning : result.warnings) details << Text(warning);
  }
  QMessageBox box(window_);
  //% "Conversion"
  box.setWindowTitle(qtTrId("SuccessfullConvertTitle"));
  box.setIcon(report.Failures().empty() && report.refused.empty() && details.isEmpty()
                  ? QMessageBox::Information
                  : QMessageBox::Warning);
  //% "%n output(s) made"
  QString summary = qtTrId("SuccessfullConvertMsg", static_cast<int>(report.OutputsMade()));
  //% ", %n failed."
  summary += qtTrId("FailedConvertMsg", static_cast<int>(report.Failures().size()));
  //% "Cancelled: the document in progress was not saved."
  if (report.cancelled) summary += "\n" + qtTrId("CancelledConvertMsg");
  box.setText(summary);
  std::filesystem::path made;
  for (const OutputResult& result : report.results) {
    if (result.outcome.ok()) made = result.output;
  }
  if (!made.empty()) {
    //% "Saved in %1"
    box.setInformativeText(qtTrId("SavedInMsg").arg(Text(folder_)));
  }
  if (!details.isEmpty()) box.setDetailedText(details.join("\n"));
  //% "OK"
  box.addButton(qtTrId("OkButtonString"), QMessageBox::AcceptRole);
  QPushButton* openPdf = nullptr;
  QPushButton* openFolder = nullptr;
  if (!made.empty()) {
    //% "Open PDF"
    if (report.OutputsMade() == 1)
      openPdf = box.addButton(qtTrId("OpenPDFFileButton"), QMessageBox::ActionRole);
    //% "Open Folder"
    openFolder = box.addButton(qtTrId("OpenTargetButton"), QMessageBox::ActionRole);
  }
  box.exec();
  if (openPdf && box.clickedButton() == openPdf) OpenOnDesktop(window_, made);
  if (openFolder && box.clickedButton() == openFolder) {
    OpenOnDesktop(window_, folder_);
  }
}

}  // namespace quillsheet
