// The preferences sheet: output naming, quality filter and page selection.
// It edits a GeneralPreferences value (the state a conversion reads); Apply
// also writes the preferences file, Reset puts the reset values in, Done
// closes the sheet. Main thread only.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "common/GeneralPreferences.h"
#include "common/Result.h"

namespace Ui {
class PreferencesDialog;
}

namespace quillsheet {

// A page selection in the window's words ("Odd pages", "Page range 1-3").
QString PageSelectionName(int tag, const std::string& rangeText);

class PreferencesDialog : public QDialog {
  Q_OBJECT

 public:
  // store writes the preferences file (with the selected preset's row).
  PreferencesDialog(GeneralPreferences& preferences,
                    std::function<Result(const GeneralPreferences&)> store, QWidget* parent);
  ~PreferencesDialog() override;

 private:
  void Show(const GeneralPreferences& preferences);
  GeneralPreferences Read() const;
  void UpdateEnabling();
  void Changed();
  // Says why the page range cannot stand, when it cannot.
  bool RangeRefused();
  void Apply();

  std::unique_ptr<Ui::PreferencesDialog> ui_;
  GeneralPreferences& preferences_;
  std::function<Result(const GeneralPreferences&)> store_;
};

}  // namespace quillsheet
