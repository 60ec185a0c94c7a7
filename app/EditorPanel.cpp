#include "app/EditorPanel.h"

#include <QColorDialog>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>
#include <cmath>

#include "app/ColourSwatches.h"
#include "app/NumberField.h"
#include "app/QtText.h"
#include "engine/PatternCatalog.h"
#include "ui_EditorPanel.h"

namespace quillsheet {
namespace pk = presetkey;

namespace {

constexpr int kStretchedStyle = 4;
constexpr int kTilesStyle = 6;

QColor ToQColor(const Rgba& c) { return QColor::fromRgbF(c.red, c.green, c.blue, c.alpha); }

Rgba ToRgba(const QColor& c) { return {c.redF(), c.greenF(), c.blueF(), c.alphaF()}; }

// Drops of picture files on the image well.
class PictureDrops : public QObject {
 public:
  PictureDrops(QWidget* well, std::function<void(const QString&)> use)
      : QObject(well), use_(std::move(use)) {
    well->setAcceptDrops(true);
    well->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::DragEnter) {
      auto* drag = static_cast<QDragEnterEvent*>(event);
      if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
      return true;
    }
    if (event->type() == QEvent::Drop) {
      const auto urls = static_cast<QDropEvent*>(event)->mimeData()->urls();
      if (!urls.isEmpty() && urls.first().isLocalFile()) use_(urls.first().toLocalFile());
      return true;
    }
    return false;
  }

 private:
  std::function<void(const QString&)> use_;
};

}  // namespace

EditorPanel::EditorPanel(PresetLibrary& library, EditHistory& history, std::string& pictureFolder,
                         QWidget* parent)
    : QWidget(parent),
      library_(library),
      history_(history),
      pictureFolder_(pictureFolder),
      ui_(std::make_unique<Ui::EditorPanel>()) {
  ui_->setupUi(this);
  // Above the tabs while more than one preset is selected: every change
  // goes to all of them.
  editingLabel_ = new QLabel(this);
  editingLabel_->setObjectName(QStringLiteral("editingLabel"));
  ui_->panelLayout->insertWidget(0, editingLabel_);
  SetUpChoices();
  SetUpNumbers();
  SetUpColourWells();
  SetUpFonts();
  SetUpFillKinds();
  SetUpVisibility();
  connect(ui_->watermarkOptionTabOutlet, &QTabWidget::currentChanged, this,
          &EditorPanel::tabChanged);
  Load();
}

EditorPanel::~EditorPanel() = default;

EditorTab EditorPanel::Tab() const {
  return ui_->watermarkOptionTabOutlet->currentWidget() == ui_->FillWatermark ? EditorTab::Fill
                                                                              : EditorTab::Text;
}

void EditorPanel::SelectTab(EditorTab tab) {
  ui_->watermarkOptionTabOutlet->setCurrentWidget(tab == EditorTab::Fill ? ui_->FillWatermark
                                                                         : ui_->TextWatermark);
}

std::string EditorPanel::WatermarkText() const {
  return ui_->textTextFieldOutlet->text().toStdString();
}

bool EditorPanel::TextOn() const { return ui_->watermarkOnOffSegmentedControl->isChecked(); }
bool EditorPanel::FillOn() const {
  return ui_->watermarkbackGroundOnOffSegmentedControl->isChecked();
}

void EditorPanel::Store(std::string_view key, Value value) {
  if (loading_) return;
  history_.Edit(value, key);
}

void EditorPanel::StoreChoice(QComboBox* popup, std::string_view key) {
  Store(key, Value(std::int64_t{popup->currentData().toInt()}));
  ApplyEnablement();
}

void EditorPanel::Select(QComboBox* popup, int tag) {
  popup->setCurrentIndex(std::max(0, popup->findData(tag)));
}

// The pop-ups, their items with the tags the presets store, and the
// switches.
void EditorPanel::SetUpChoices() {
  const auto fill = [](QComboBox* popup, std::initializer_list<std::pair<QString, int>> items) {
    for (const auto& [text, tag] : items) popup->addItem(text, tag);
  };
  //% "Fill"
  fill(ui_->fillTypePopupOutlet, {{qtTrId("ModeFill"), 0},
                                  //% "Outline"
                                  {qtTrId("ModeStroke"), 1},
                                  //% "Fill and outline"
                                  {qtTrId("ModeFillStroke"), 2}});
  //% "One line"
  fill(ui_->textDrawingTypePopupButtonOutlet, {{qtTrId("LayoutOneLine"), 1},
                                               //% "Two lines"
                                               {qtTrId("LayoutTwoLines"), 2},
                                               //% "Three lines"
                                               {qtTrId("LayoutThreeLines"), 3},
                                               //% "Tiled"
                                               {qtTrId("LayoutTiled"), 4}});
  //% "Not fitted"
  fill(ui_->textFitDrawingTypePopupButtonOutlet, {{qtTrId("FitNone"), 0},
                                                  //% "Across the page"
                                                  {qtTrId("FitHorizontal"), 1},
                                                  //% "Down the page"
                                                  {qtTrId("FitVertical"), 2},
                                                  //% "Corner to corner"
                                                  {qtTrId("FitDiagonal"), 3}});
  //% "Placed at the mark"
  fill(ui_->backgroundDrawTypePoopupOutlet, {{qtTrId("StylePositioned"), 1},
                                             //% "Centred"
                                             {qtTrId("StyleCentred"), 2},
                                             //% "Fitted to the page"
                                             {qtTrId("StyleFitted"), 3},
                                             //% "Stretched over the page"
                                             {qtTrId("StyleStretched"), 4},
                                             //% "Checkerboard"
                                             {qtTrId("StyleCheckerboard"), 5},
                                             //% "Tiles"
                                             {qtTrId("StyleTiles"), 6}});
  for (QComboBox* position :
       {ui_->textFrontBackOptionSegmentedOutlet, ui_->fillFrontBackOptionSegmentedOutlet}) {
    //% "In front of the page"
    fill(position, {{qtTrId("PositionFront"), 0},
                    //% "Behind the page"
                    {qtTrId("PositionBehind"), 1}});
  }
  const std::pair<QComboBox*, std::string_view> popups[] = {
      {ui_->fillTypePopupOutlet, pk::kDrawingMode},
      {ui_->textDrawingTypePopupButtonOutlet, pk::kDrawingType},
      {ui_->textFitDrawingTypePopupButtonOutlet, pk::kFitDrawingType},
      {ui_->backgroundDrawTypePoopupOutlet, pk::kBackStyle},
      {ui_->textFrontBackOptionSegmentedOutlet, pk::kTextFrontOrBackState},
      {ui_->fillFrontBackOptionSegmentedOutlet, pk::kFillFrontOrBackState}};
  for (const auto& [popup, key] : popups) {
    connect(popup, &QComboBox::activated, this,
            [this, popup = popup, key = key] { StoreChoice(popup, key); });
  }
  const std::pair<QCheckBox*, std::string_view> switches[] = {
      {ui_->watermarkOnOffSegmentedControl, pk::kWatermarkOptionsState},
      {ui_->watermarkbackGroundOnOffSegmentedControl, pk::kWatermarkbackGroundOptionsState},
      {ui_->dropShadowCheckBoxOutlet, pk::kIsDropShadowApplied},
      {ui_->textFieldsCheckBox, pk::kTextFields}};
  // Toggled, not clicked: a screen reader toggles a switch without a click.
  for (const auto& [box, key] : switches) {
    connect(box, &QCheckBox::toggled, this, [this, key = key](bool on) {
      if (loading_) return;
      Store(key, Value(on));
      ApplyEnablement();
    });
  }
  ui_->textTextFieldOutlet->setMaxLength(static_cast<int>(kLongestText));
  // Any change of the text, typed or set by a screen reader, is stored;
  // the text set while loading is not (Store ignores it).
  connect(ui_->textTextFieldOutlet, &QLineEdit::textChanged, this,
          [this](const QString& text) { Store(pk::kTextString, Value(text.toStdString())); });
}

void EditorPanel::SetUpNumbers() {
  using Kind = NumberFieldKind;
  struct Setup {
    EditorNumber number;
    NumberField* field;
    QAbstractSlider* slider;
    Kind kind;
    int lowest, highest;  // the stepper's or slider's range
    const char* stepName;
  };
  const Setup setups[] = {
      {EditorNumber::FontSize, ui_->fontSizeTextFieldOutlet, nullptr, Kind::FontSize, 1, 1000,
       "Size"},
      {EditorNumber::Distance, ui_->distanceTextFieldOutlet, nullptr, Kind::FontSize, 1, 5000,
       "Distance"},
      {EditorNumber::StrokeWidth, ui_->strokeWidthTextFieldOutlet, nullptr, Kind::FontSize, 1, 1000,
       "Stroke"},
      {EditorNumber::ShadowBlur, ui_->blurTextFieldOutlet, nullptr, Kind::ShadowBlur, 0, 100,
       "Blur"},
      {EditorNumber::XOffset, ui_->xOffsetTextFieldOutlet, nullptr, Kind::ShadowXOffset, -5000,
       5000, "X Offset"},
      {EditorNumber::YOffset, ui_->yOffsetTextFieldOutlet, nullptr, Kind::ShadowYOffset, -5000,
       5000, "Y Offset"},
      {EditorNumber::TextOpacity, ui_->opacityTextFieldOutlet, ui_->opacitySliderOutlet,
       Kind::ShadowBlur, 0, 100, nullptr},
      {EditorNumber::FillSize, ui_->backgroundSizeTextFieldOutlet, ui_->backgroundSizeSliderOutlet,
       Kind::ShadowBlur, 0, 100, nullptr},
      {EditorNumber::FillOpacity, ui_->backgroundOpacityTextFieldOutlet,
       ui_->backgroundOpacitySliderOutlet, Kind::ShadowBlur, 0, 100, nullptr},
      {EditorNumber::Angle, ui_->angleTextFieldOutlet, ui_->angleSliderOutlet, Kind::RotationAngle,
       0, 359, nullptr},
  };
  for (const Setup& setup : setups) {
    const NumberBinding binding{setup.number, setup.field, setup.slider};
    numbers_.push_back(binding);
    setup.field->SetRule({setup.kind});
    setup.field->setMaximumWidth(110);
    if (setup.slider) {
      setup.slider->setRange(setup.lowest, setup.highest);
      connect(setup.slider, &QAbstractSlider::valueChanged, this,
              [this, binding](int value) { SliderMoved(binding, value); });
    } else {
      setup.field->SetStepRange(setup.lowest, setup.highest, QString::fromLatin1(setup.stepName));
      connect(setup.field, &NumberField::stepped, this, [this, binding](int value) {
        Store(KeyOf(binding.number), Value(std::int64_t{value}));
      });
    }
    connect(setup.field, &NumberField::typed, this,
            [this, binding](const QString& text) { Typed(binding, text); });
  }
}

// A number typed into a field moves its mirror and is stored, or is set
// back from the mirror when it is above the field's limit.
void EditorPanel::Typed(const NumberBinding& binding, const QString& text) {
  const double mirrorNow = !binding.slider ? binding.field->StepperValue()
                           : binding.number == EditorNumber::Angle
                               ? binding.slider->value()
                               : binding.slider->value() / 100.0;
  const auto typed = TypeNumber(binding.number, text.toStdString(), mirrorNow,
                                ui_->fontSizeTextFieldOutlet->StepperValue());
  if (!typed) return;
  if (!binding.slider) {
    binding.field->KeepStepperValue(static_cast<int>(typed->mirror));
  } else {
    const QSignalBlocker quiet(binding.slider);
    binding.slider->setValue(static_cast<int>(
        std::lround(binding.number == EditorNumber::Angle ? typed->mirror : typed->mirror * 100)));
  }
  if (typed->fieldSetTo) binding.field->Show(QString::number(*typed->fieldSetTo));
  Store(KeyOf(binding.number), typed->stored);
}

void EditorPanel::SliderMoved(const NumberBinding& binding, int value) {
  const SliderMove move = binding.number == EditorNumber::Angle
                              ? MoveAngleSlider(value)
                              : MovePercentSlider(binding.number, value / 100.0);
  binding.field->Show(QString::number(move.field));
  Store(KeyOf(binding.number), move.stored);
}

void EditorPanel::SetUpColourWells() {
  connect(ui_->colorView, &ColourSwatches::picked, this, [this](int index) {
    const auto colour = SwatchColour(index);
    if (!colour) return;
    ShowColour(ui_->backFillColorWellOutlet, colour);
    StoreFill(FillKind::Colour, pk::kBackColor, ColorValue(*colour));
  });
  const std::pair<QToolButton*, std::string_view> wells[] = {
      {ui_->fillColorWellOutlet, pk::kTextFontColor},
      {ui_->shadowColorWellOutlet, pk::kShadowFontColor},
      {ui_->backFillColorWellOutlet, pk::kBackColor}};
  for (const auto& [well, key] : wells) {
    connect(well, &QToolButton::clicked, this,
            [this, well = well, key = key] { ChooseColour(well, key); });
  }
}

void EditorPanel::ChooseColour(QToolButton* well, std::string_view key) {
  const QColor chosen = QColorDialog::getColor(well->property("colour").value<QColor>(), this,
                                               QString(), QColorDialog::ShowAlphaChannel);
  if (!chosen.isValid()) return;
  ShowColour(well, ToRgba(chosen));
  if (well == ui_->backFillColorWellOutlet) {
    StoreFill(FillKind::Colour, key, ColorValue(ToRgba(chosen)));
  } else {
    Store(key, ColorValue(ToRgba(chosen)));
  }
}

void EditorPanel::ShowColour(QToolButton* well, const std::optional<Rgba>& colour) {
  const QColor shown = colour ? ToQColor(*colour) : QColor(Qt::transparent);
  well->setProperty("colour", shown);
  QPixmap swatch(40, 14);
  swatch.fill(shown);
  well->setIcon(QIcon(swatch));
  well->setIconSize(swatch.size());
  well->setToolTip(shown.name(QColor::HexArgb));
}

void EditorPanel::SetUpFonts() {
  families_ = FontFamilies();
  for (const std::string& family : families_) ui_->fontComboBoxOutlet->addItem(Text(family));
  ui_->fontComboBoxOutlet->setInsertPolicy(QComboBox::NoInsert);
  ui_->fontComboBoxOutlet->setCompleter(nullptr);
  QLineEdit* typing = ui_->fontComboBoxOutlet->lineEdit();
  // Typing completes to the first family that starts with the typed text.
  connect(typing, &QLineEdit::textEdited, this, [this, typing](const QString& text) {
    const QString completed = Text(CompleteFamily(families_, text.toStdString()));
    if (completed.size() <= text.size()) return;
    typing->setText(completed);
    typing->setSelection(static_cast<int>(text.size()), static_cast<int>(completed.size()));
  });
  connect(ui_->fontComboBoxOutlet, &QComboBox::activated, this,
          [this] { ChooseFamily(ui_->fontComboBoxOutlet->currentText()); });
  connect(typing, &QLineEdit::returnPressed, this,
          [this] { ChooseFamily(ui_->fontComboBoxOutlet->currentText()); });
  connect(ui_->fontStylePopupButtonOutlet, &QComboBox::activated, this, &EditorPanel::ChooseStyle);
  connect(ui_->showFontPanelButtonOutlet, &QToolButton::clicked, this, &EditorPanel::ChooseFont);
}

// Shows a font: its family (the first family when it is not installed) and
// its style.
void EditorPanel::ShowFont(const std::string& postScriptName) {
  std::string family = FamilyOf(postScriptName);
  if (std::find(families_.begin(), families_.end(), family) == families_.end()) {
    family = families_.empty() ? std::string() : families_.front();
  }
  ui_->fontComboBoxOutlet->setCurrentText(Text(family));
  members_ = FamilyMembers(family);
  ui_->fontStylePopupButtonOutlet->clear();
  int selected = 0;
  for (size_t i = 0; i < members_.size(); ++i) {
    ui_->fontStylePopupButtonOutlet->addItem(Text(members_[i].style));
    if (members_[i].postScriptName == postScriptName) selected = static_cast<int>(i);
  }
  ui_->fontStylePopupButtonOutlet->setCurrentIndex(selected);
}

// Only another installed family is a choice: the family on show again (a
// pop-up closed without a pick) or a half-typed name keeps the font as it is.
void EditorPanel::ChooseFamily(const QString& family) {
  const std::string chosen = family.toStdString();
  const WatermarkSettings s = GetPresetSettingsFrom(&library_.currentWatermarkOptionsDictionary());
  if (std::find(families_.begin(), families_.end(), chosen) == families_.end() ||
      chosen == FamilyOf(s.textFont)) {
    ShowFont(s.textFont);
    return;
  }
  members_ = FamilyMembers(chosen);
  ui_->fontStylePopupButtonOutlet->clear();
  for (const FontMember& member : members_) {
    ui_->fontStylePopupButtonOutlet->addItem(Text(member.style));
  }
  if (members_.empty()) return;
  ui_->fontStylePopupButtonOutlet->setCurrentIndex(0);
  Store(pk::kTextFont, Value(members_.front().postScriptName));
}

void EditorPanel::ChooseStyle(int index) {
  if (index < 0 || static_cast<size_t>(index) >= members_.size()) return;
  Store(pk::kTextFont, Value(members_[static_cast<size_t>(index)].postScriptName));
}

// The desktop's font dialog: its family and style pick the face, its size
// the font size.
void EditorPanel::ChooseFont() {
  const WatermarkSettings s = GetPresetSettingsFrom(&library_.currentWatermarkOptionsDictionary());
  QFont current(Text(FamilyOf(s.textFont)));
  current.setStyleName(ui_->fontStylePopupButtonOutlet->currentText());
  current.setPointSize(static_cast<int>(std::max<std::int64_t>(1, s.textFontSize)));
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, current, this);
  if (!chosen) return;
  const auto members = FamilyMembers(font.family().toStdString());
  const auto member = std::find_if(members.begin(), members.end(), [&](const FontMember& m) {
    return Text(m.style) == font.styleName();
  });
  // The chosen style's face, or the family's first when the dialog named a
  // style fontconfig does not list.
  if (!members.empty()) {
    const std::string name = (member != members.end() ? *member : members.front()).postScriptName;
    Store(pk::kTextFont, Value(name));
    ShowFont(name);
  }
  if (font.pointSize() >= 1) {
    ui_->fontSizeTextFieldOutlet->SetStepperValue(font.pointSize());
    Store(pk::kTextFontSize, Value(std::int64_t{font.pointSize()}));
  }
}

// The fill kind is what the user last chose on one of the kind's tabs (a
// colour, a pattern, a picture); looking at a tab chooses nothing. The
// kind in force is named above the tabs.
void EditorPanel::SetUpFillKinds() {
  fillKindLabel_ = new QLabel(this);
  fillKindLabel_->setObjectName(QStringLiteral("fillKindLabel"));
  if (auto* layout =
          qobject_cast<QBoxLayout*>(ui_->backgroundFillOptionTabOutlet->parentWidget()->layout())) {
    layout->insertWidget(layout->indexOf(ui_->backgroundFillOptionTabOutlet), fillKindLabel_);
  }
  for (const std::string& name : PatternNames()) {
    auto* item = new QListWidgetItem(Text(name), ui_->patternList);
    if (const auto file = PatternImageFile(name)) {
      item->setIcon(QIcon(QPixmap(Text(file->string()))));
    }
    item->setData(Qt::UserRole, Text(name));
  }
  // A click, or the arrow keys moving the current pattern, picks it; the
  // first current item a list gets (on focus) picks nothing.
  connect(ui_->patternList, &QListWidget::itemClicked, this, &EditorPanel::ChoosePattern);
  connect(ui_->patternList, &QListWidget::currentItemChanged, this,
          [this](QListWidgetItem* current, QListWidgetItem* previous) {
            if (current && previous) ChoosePattern(current);
          });
  connect(ui_->chooseImageButton, &QPushButton::clicked, this, &EditorPanel::ChoosePicture);
  new PictureDrops(ui_->WaterMarkImageView, [this](const QString& file) { UsePicture(file); });
}

// Where the marks show: on screen and in print, in print only, or on screen
// only; one choice for both layers, offered on both tabs.
void EditorPanel::SetUpVisibility() {
  const std::pair<QFormLayout*, QWidget*> places[] = {
      {ui_->textForm, ui_->textFrontBackOptionSegmentedOutlet},
      {ui_->fillForm, ui_->fillFrontBackOptionSegmentedOutlet}};
  for (const auto& [form, after] : places) {
    auto* popup = new QComboBox(this);
    //% "On screen and in print"
    popup->addItem(qtTrId("VisibilityEverywhere"), 0);
    //% "In print only"
    popup->addItem(qtTrId("VisibilityPrint"), 1);
    //% "On screen only"
    popup->addItem(qtTrId("VisibilityScreen"), 2);
    //% "Visibility"
    const QString name = qtTrId("VisibilityName");
    popup->setAccessibleName(name);
    auto* label = new QLabel(name, this);
    label->setBuddy(popup);
    int row = 0;
    QFormLayout::ItemRole role;
    form->getWidgetPosition(after, &row, &role);
    form->insertRow(row + 1, label, popup);
    connect(popup, &QComboBox::activated, this, [this, popup = popup] {
      for (QComboBox* other : visibility_) other->setCurrentIndex(popup->currentIndex());
      Store(pk::kMarkVisibility, Value(std::int64_t{popup->currentData().toInt()}));
    });
    visibility_.push_back(popup);
  }
}

void EditorPanel::StoreFill(FillKind kind, std::string_view key, Value value) {
  if (loading_) return;
  history_.Edit({{pk::kFillWatermarkOption, Value(std::int64_t{static_cast<int>(kind)})},
                 {key, std::move(value)}});
  ShowFillKind(static_cast<int>(kind));
}

// A pattern stretched over the page would blow one tile up to the whole
// page: picking a pattern while the style is "stretched" makes it tiles.
void EditorPanel::ChoosePattern(QListWidgetItem* item) {
  if (loading_ || !item) return;
  const std::string name = item->data(Qt::UserRole).toString().toStdString();
  const WatermarkSettings s = GetPresetSettingsFrom(&library_.currentWatermarkOptionsDictionary());
  if (s.fillOption == static_cast<int>(FillKind::Pattern) && s.patternName == name) return;
  library_.SetCurrentPatternName(name);
  if (s.backStyle != kStretchedStyle) {
    return StoreFill(FillKind::Pattern, pk::kPatternImagePath, Value(name));
  }
  Select(ui_->backgroundDrawTypePoopupOutlet, kTilesStyle);
  history_.Edit(
      {{pk::kFillWatermarkOption, Value(std::int64_t{static_cast<int>(FillKind::Pattern)})},
       {pk::kPatternImagePath, Value(name)},
       {pk::kBackStyle, Value(std::int64_t{kTilesStyle})}});
  ShowFillKind(static_cast<int>(FillKind::Pattern));
  ApplyEnablement();
}

void EditorPanel::ShowFillKind(int kind) {
  const QString names[] = {ui_->backgroundFillOptionTabOutlet->tabText(0),
                           ui_->backgroundFillOptionTabOutlet->tabText(1),
                           ui_->backgroundFillOptionTabOutlet->tabText(2)};
  //% "Fills with: %1"
  fillKindLabel_->setText(qtTrId("FillKindInUse").arg(names[std::clamp(kind, 0, 2)]));
}

void EditorPanel::ChoosePicture() {
  //% "Choose Picture"
  auto* dialog = new QFileDialog(this, qtTrId("ChoosePictureTitle"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setFileMode(QFileDialog::ExistingFile);
  //% "Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.webp *.svg)"
  dialog->setNameFilter(qtTrId("PictureFilter"));
  if (QFileInfo(Text(pictureFolder_)).isDir()) dialog->setDirectory(Text(pictureFolder_));
  connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
    pictureFolder_ = QFileInfo(file).absolutePath().toStdString();
    UsePicture(file);
  });
  dialog->open();
}

// A picture is kept with the preset when it decodes; otherwise the status
// bar says why nothing changed.
void EditorPanel::UsePicture(const QString& file) {
  QImageReader reader(file);
  const QImage picture = reader.read();
  if (picture.isNull()) {
    //% "%1 is not a picture that can be used: %2"
    emit message(qtTrId("PictureRefused").arg(QFileInfo(file).fileName(), reader.errorString()));
    return;
  }
  ui_->WaterMarkImageView->setPixmap(QPixmap::fromImage(picture).scaled(
      ui_->WaterMarkImageView->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  StoreFill(FillKind::Image, pk::kImage,
            Value(Value::Image(std::make_shared<const QImage>(picture))));
}

void EditorPanel::ApplyEnablement() {
  const EditorChoices choices{TextOn(),
                              ui_->textDrawingTypePopupButtonOutlet->currentData().toInt(),
                              ui_->textFitDrawingTypePopupButtonOutlet->currentData().toInt(),
                              ui_->fillTypePopupOutlet->currentData().toInt(),
                              ui_->dropShadowCheckBoxOutlet->isChecked(),
                              FillOn(),
                              ui_->backgroundDrawTypePoopupOutlet->currentData().toInt()};
  for (const auto& [name, state] : EditorEnablement(choices)) {
    QWidget* control = findChild<QWidget*>(QString::fromLatin1(name.data(), name.size()));
    if (!control) continue;
    control->setEnabled(state.enabled);
    if (state.visible) control->setVisible(*state.visible);
  }
}

void EditorPanel::Load() {
  loading_ = true;
  const WatermarkSettings s = GetPresetSettingsFrom(&library_.currentWatermarkOptionsDictionary());
  ShowFont(s.textFont);
  ui_->textTextFieldOutlet->setText(Text(s.textString));
  ui_->watermarkOnOffSegmentedControl->setChecked(s.textEnabled);
  ui_->dropShadowCheckBoxOutlet->setChecked(s.dropShadow);
  ui_->textFieldsCheckBox->setChecked(s.textFields);
  Select(ui_->fillTypePopupOutlet, s.drawingMode);
  Select(ui_->textDrawingTypePopupButtonOutlet, s.drawingType);
  Select(ui_->textFitDrawingTypePopupButtonOutlet, s.fitDrawingType);
  Select(ui_->textFrontBackOptionSegmentedOutlet, s.textBehind ? 1 : 0);
  ShowColour(ui_->fillColorWellOutlet, s.textColor);
  ShowColour(ui_->shadowColorWellOutlet, s.shadowColor);
  LoadNumbers(s);

  ui_->watermarkbackGroundOnOffSegmentedControl->setChecked(s.fillEnabled);
  Select(ui_->backgroundDrawTypePoopupOutlet, s.backStyle);
  Select(ui_->fillFrontBackOptionSegmentedOutlet, s.fillBehind ? 1 : 0);
  for (QComboBox* popup : visibility_) Select(popup, s.markVisibility);
  ShowColour(ui_->backFillColorWellOutlet, s.backColor);
  const auto patterns = ui_->patternList->findItems(Text(s.patternName), Qt::MatchExactly);
  ui_->patternList->setCurrentItem(patterns.isEmpty() ? nullptr : patterns.first());
  ui_->backgroundFillOptionTabOutlet->setCurrentIndex(std::clamp(s.fillOption, 0, 2));
  ShowFillKind(s.fillOption);
  //% "Editing %n presets"
  editingLabel_->setText(
      qtTrId("EditingPresets", static_cast<int>(library_.selectedRows().size())));
  editingLabel_->setVisible(library_.selectedRows().size() > 1);
  if (s.fillImage) {
    ui_->WaterMarkImageView->setPixmap(QPixmap::fromImage(*s.fillImage)
                                           .scaled(ui_->WaterMarkImageView->size(),
                                                   Qt::KeepAspectRatio, Qt::SmoothTransformation));
  } else {
    //% "Drop a picture here"
    ui_->WaterMarkImageView->setText(qtTrId("PictureWellEmpty"));
  }
  ApplyEnablement();
  loading_ = false;
}

void EditorPanel::LoadNumbers(const WatermarkSettings& s) {
  const auto integer = [](std::int64_t value) { return static_cast<int>(value); };
  ui_->fontSizeTextFieldOutlet->SetStepperValue(integer(s.textFontSize));
  ui_->distanceTextFieldOutlet->SetStepperValue(integer(s.textDistance));
  ui_->strokeWidthTextFieldOutlet->SetStepperValue(integer(s.strokeWidth));
  ui_->blurTextFieldOutlet->SetStepperValue(integer(s.shadowBlur));
  ui_->xOffsetTextFieldOutlet->SetStepperValue(integer(s.shadowXOffset));
  ui_->yOffsetTextFieldOutlet->SetStepperValue(integer(s.shadowYOffset));
  const std::pair<QAbstractSlider*, double> percents[] = {
      {ui_->opacitySliderOutlet, s.textOpacity},
      {ui_->backgroundSizeSliderOutlet, s.backSize},
      {ui_->backgroundOpacitySliderOutlet, s.backOpacity}};
  for (const auto& [slider, value] : percents) {
    slider->setValue(static_cast<int>(std::lround(value * 100)));
  }
  ui_->opacityTextFieldOutlet->Show(QString::number(std::lround(s.textOpacity * 100)));
  ui_->backgroundSizeTextFieldOutlet->Show(QString::number(std::lround(s.backSize * 100)));
  ui_->backgroundOpacityTextFieldOutlet->Show(QString::number(std::lround(s.backOpacity * 100)));
  ui_->angleSliderOutlet->setValue(static_cast<int>(s.rotationAngle));
  ui_->angleTextFieldOutlet->Show(QString::number(s.rotationAngle));
}

}  // namespace quillsheet
