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
  void Apply();

  std::unique_ptr<Ui::PreferencesDialog> ui_;
  GeneralPreferences& preferences_;
  std::function<Result(const GeneralPreferences&)> store_;
};

}  // namespace quillsheet
