// Asks for the values of the user's own fields ("{recipient}") that the
// watermark texts of a conversion need: one line per field, OK and Cancel.
// Main thread only.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <string>
#include <vector>

#include "engine/TextFields.h"

namespace quillsheet {

class FieldValuesDialog : public QDialog {
  Q_OBJECT

 public:
  FieldValuesDialog(const std::vector<std::string>& names, QWidget* parent);

  // The values typed, by field name (an empty line is an empty value).
  FieldValues Values() const;

 private:
  std::vector<std::pair<std::string, QLineEdit*>> lines_;
};

}  // namespace quillsheet
