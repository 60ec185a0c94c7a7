#include "app/NumberField.h"

#include <QAction>
#include <QKeyEvent>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

namespace quillsheet {

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {
  // Typing leaves the field modified (setText clears that); a text set any
  // other way, as a screen reader sets it, is complete and ends at once.
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (showing_) return;
    std::string cleaned = rule_.AfterTyping(text.toStdString());
    if (!isModified()) cleaned = rule_.AtEnd(cleaned);
    const QString shown = QString::fromStdString(cleaned);
    if (shown != text) Show(shown);
    emit typed(shown);
  });
  connect(this, &QLineEdit::editingFinished, this, [this] {
    const QString ended = QString::fromStdString(rule_.AtEnd(text().toStdString()));
    if (ended == text()) return;
    Show(ended);
    emit typed(ended);
  });
}

void NumberField::SetStepRange(int lowest, int highest, const QString& stepName) {
  const bool first = !range_;
  range_ = {lowest, highest};
  if (!first) return;
  QAction* down = addAction(style()->standardIcon(QStyle::SP_ArrowDown), TrailingPosition);
  //% "Decrease %1"
  down->setText(qtTrId("DecreaseNumber").arg(stepName));
  QAction* up = addAction(style()->standardIcon(QStyle::SP_ArrowUp), TrailingPosition);
  //% "Increase %1"
  up->setText(qtTrId("IncreaseNumber").arg(stepName));
  connect(down, &QAction::triggered, this, [this] { Step(-1); });
  connect(up, &QAction::triggered, this, [this] { Step(1); });
}

void NumberField::SetStepperValue(int value) {
  stepper_ = range_ ? std::clamp(value, range_->first, range_->second) : value;
  Show(QString::number(stepper_));
}

void NumberField::Show(const QString& text) {
  showing_ = true;
  setText(text);
  showing_ = false;
}

void NumberField::Step(int by) {
  if (!range_ || !isEnabled()) return;
  const int next = std::clamp(stepper_ + by, range_->first, range_->second);
  if (next == stepper_ && text() == QString::number(next)) return;
  SetStepperValue(next);
  emit stepped(stepper_);
}

void NumberField::keyPressEvent(QKeyEvent* event) {
  const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
  if (range_ && event->key() == Qt::Key_Up) return Step(step);
  if (range_ && event->key() == Qt::Key_Down) return Step(-step);
  QLineEdit::keyPressEvent(event);
}

void NumberField::wheelEvent(QWheelEvent* event) {
  if (!range_ || !hasFocus()) return QLineEdit::wheelEvent(event);
  Step(event->angleDelta().y() > 0 ? 1 : -1);
  event->accept();
}

}  // namespace quillsheet
