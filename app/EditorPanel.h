#pragma once

#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "common/Value.h"
#include "editor/EditHistory.h"
#include "editor/EditorRules.h"
#include "editor/Placement.h"
#include "editor/PresetLibrary.h"
#include "engine/FontLookup.h"
#include "engine/WatermarkSettings.h"

namespace Ui {
class EditorPanel;
}

class QAbstractSlider;
class QComboBox;
class QLabel;
class QListWidgetItem;
class QToolButton;

namespace quillsheet {

class NumberField;

// The editor beside the preview: the text tab and the fill tab with every
// setting of the selected presets. Load() shows the library's editor copy
// and stores nothing; each change the user makes is stored through the
// library's one edit entry point, which marks the selected presets modified
// and asks for a new preview. The enablement and number rules come from
// EditorRules. The library must outlive the panel. Main thread only.
class EditorPanel : public QWidget {
  Q_OBJECT

 public:
  // Edits are stored through the history, so that they can be undone. The
  // picture dialog opens in pictureFolder and leaves the folder it was left
  // in there; it must outlive the panel.
  EditorPanel(PresetLibrary& library, EditHistory& history, std::string& pictureFolder,
              QWidget* parent = nullptr);
  ~EditorPanel() override;

  void Load();
  EditorTab Tab() const;
  void SelectTab(EditorTab tab);
  bool TextOn() const;
  std::string WatermarkText() const;  // as typed in the text field
  bool FillOn() const;

 signals:
  // The text or fill tab came up: the preview's marker follows it.
  void tabChanged();
  // A short message for the status bar (a picture that cannot be used).
  void message(const QString& text);

 private:
  struct NumberBinding {
    EditorNumber number;
    NumberField* field;
    QAbstractSlider* slider;  // the mirror when not a stepper
  };

  void SetUpChoices();
  void SetUpNumbers();
  void SetUpColourWells();
  void SetUpFonts();
  void SetUpFillKinds();
  void SetUpVisibility();
  void Store(std::string_view key, Value value);
  void StoreChoice(QComboBox* popup, std::string_view key);
  void Typed(const NumberBinding& binding, const QString& text);
  void SliderMoved(const NumberBinding& binding, int value);
  void ChooseColour(QToolButton* well, std::string_view key);
  void ShowColour(QToolButton* well, const std::optional<Rgba>& colour);
  void ShowFont(const std::string& postScriptName);
  void ChooseFamily(const QString& family);
  void ChooseStyle(int index);
  void ChooseFont();
  // Stores a fill kind's choice together with the kind, as one edit.
  // The kinds, as the fill's tabs and "FillWatermarkOption" number them.
  enum class FillKind { Colour = 0, Pattern = 1, Image = 2 };
  void StoreFill(FillKind kind, std::string_view key, Value value);
  void ChoosePattern(QListWidgetItem* item);
  void ShowFillKind(int kind);
  void ChoosePicture();
  void UsePicture(const QString& file);
  void ApplyEnablement();
  void LoadNumbers(const WatermarkSettings& s);
  static void Select(QComboBox* popup, int tag);

  PresetLibrary& library_;
  EditHistory& history_;
  std::string& pictureFolder_;
  std::unique_ptr<Ui::EditorPanel> ui_;
  std::vector<NumberBinding> numbers_;
  std::vector<std::string> families_;
  std::vector<FontMember> members_;     // of the family on show
  std::vector<QComboBox*> visibility_;  // one on each tab, showing the same key
  QLabel* fillKindLabel_ = nullptr;
  QLabel* editingLabel_ = nullptr;
  bool loading_ = false;
};

}  // namespace quillsheet
