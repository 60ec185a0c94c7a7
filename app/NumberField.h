#pragma once

#include <QLineEdit>
#include <optional>

#include "editor/NumberFields.h"

namespace quillsheet {

// A number typed into a line, cleaned by its field rule as the user types
// and held to its floor when editing ends; a text a screen reader sets
// arrives whole and gets both rules at once. With a step range it is also a
// stepper: its value moves with the Up and Down keys, the wheel and the two
// arrows inside the field. Main thread only.
class NumberField : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumberField(QWidget* parent = nullptr);

  void SetRule(NumberFieldRule rule) { rule_ = rule; }
  // Makes it a stepper over lowest..highest; stepName names the arrows
  // ("Size" gives "Increase Size" and "Decrease Size").
  void SetStepRange(int lowest, int highest, const QString& stepName);
  int StepperValue() const { return stepper_; }
  // Sets the stepper and shows its value; no signal.
  void SetStepperValue(int value);
  // Shows a text the program set; no signal.
  void Show(const QString& text);
  // Sets the stepper and leaves the text as it is (the user's typing).
  void KeepStepperValue(int value) { stepper_ = value; }

 signals:
  // The user typed or a screen reader set the text: the cleaned text
  // (never sent for text shown by the program).
  void typed(const QString& text);
  // The user stepped: the stepper's new value, already shown.
  void stepped(int value);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Step(int by);

  NumberFieldRule rule_{NumberFieldKind::WholeNumber};
  std::optional<std::pair<int, int>> range_;
  int stepper_ = 0;
  bool showing_ = false;
};

}  // namespace quillsheet
