// Asks for the values of the user's own fields ("{recipient}") that the
// watermark texts of a conversion need: one line per field and, instead,
// a table with one copy per row (personalised copies) and how to name them;
// OK and Cancel. Main thread only.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <optional>
#include <string>
#include <vector>

#include "engine/TextFields.h"

namespace quillsheet {

// What the user answered: the values typed and, when a table was chosen, one
// copy per row of it (the row's values over the typed ones), named by the
// template.
struct FieldAnswers {
  FieldValues values;
  std::vector<FieldValues> copies;          // empty: one output each
  std::optional<std::string> nameTemplate;  // with copies; none: numbered names
};

class FieldValuesDialog : public QDialog {
  Q_OBJECT

 public:
  FieldValuesDialog(const std::vector<std::string>& names, QWidget* parent);

  FieldAnswers Answers() const;

  // Accepting with a table that cannot be read says why and stays open.
  void done(int result) override;

 private:
  QGroupBox* MakeTableBox(const std::string& firstField);
  void ChooseTable();

  std::vector<std::pair<std::string, QLineEdit*>> lines_;
  QGroupBox* tableBox_ = nullptr;
  QLineEdit* table_ = nullptr;
  QLineEdit* nameTemplate_ = nullptr;
  std::vector<FieldValues> copies_;
};

}  // namespace quillsheet
