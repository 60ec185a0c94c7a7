// The library of named watermark presets behind the preset table: the
// working copies in memory, the saved state in the preset file, the editor's
// own copy of the selected preset, and the table's selection. Widgets call
// these operations and refresh themselves when told of a change.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/Value.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet {

namespace presetkey {
inline constexpr std::string_view kWaterMarkPresetIndex = "WaterMarkPresetIndex";
inline constexpr std::string_view kDirtyFlag = "DirtyFlag";
}  // namespace presetkey

// The star shown before the name of a modified preset.
inline constexpr std::string_view kModifiedStar = "\xE2\x98\x85";  // U+2605

// The answers of the question asked before quitting with modified presets.
enum class QuitAnswer { Save = 1, DontSave = 0, Cancel = -1 };

enum class RenameCheck { Accept, EmptyName, NameTaken };

class PresetLibrary {
 public:
  enum class Change { Table, Editor, Buttons, Preview };
  using Listener = std::function<void(Change)>;

  void AddListener(Listener listener) { listeners_.push_back(std::move(listener)); }

  // Reads the preset file, seeding it from the bundled "DefaultPreset.plist"
  // on first start, orders the presets and selects the stored row.
  void Load();

  const std::vector<std::string>& waterMarkPresetData() const { return names_; }
  const Dictionary& allPresetDictionary() const { return all_; }
  const Dictionary& currentWatermarkOptionsDictionary() const { return editor_; }
  const std::set<size_t>& selectedRows() const { return selectedRows_; }
  // The row the editor shows, or -1.
  std::int64_t selectedRow() const;

  // Selection.
  void SelectRowStartingAtRow(std::int64_t row);
  void SetSelection(const std::set<size_t>& rows, std::optional<size_t> selectedRow);

  // The one entry point through which editor controls store a value: the
  // editor's copy and every selected working copy take it and are marked.
  void setObjectToSelectedPreset(const Value& value, std::string_view key);

  void AddPreset(const std::string& name);
  void UpdatePresetAction(const std::string& oldName, const std::string& newName);
  void RemovePreset(const std::string& name);
  void SaveSelectedRow();
  void RevertSelectedRow();
  void SaveAll();

  // Stores an image as a new file "watermark_imageN" (PNG) in the image
  // folder; no value, with the reason in error, when it cannot.
  std::optional<std::string> saveCustomWatermarkImage(const QImage& image, std::string& error);
  static void DeleteWatermarkImageFile(const std::string* path);

  // The record of the preset at a row; all defaults for -1 or a row that
  // names no preset.
  WatermarkSettings GetPresetSettingsForIndex(std::int64_t row) const;

  // Table rules.
  bool HasPreset(const std::string& name) const;
  std::string NewPresetName(const std::string& editorText) const;
  // Adds a preset from the editor's values under a new name and selects it.
  std::string AddToEndOfTable(const std::string& editorText);
  RenameCheck ValidateRename(size_t row, const std::string& text) const;
  void CommitRename(size_t row, const std::string& text);
  void RemoveRows(const std::set<size_t>& rows);
  bool IsModified(size_t row) const;
  std::string DisplayName(size_t row) const;
  bool RemoveButtonEnabled() const;
  bool SaveAndRevertEnabled() const;
  // True when the application may quit; asks only when a preset is modified.
  bool CheckAndSetModifiedPresetRow(const std::function<QuitAnswer()>& ask);

  // Why the last custom image could not be stored, or empty.
  const std::string& lastImageError() const { return lastImageError_; }

 private:
  void Notify(Change change) const;
  void LoadSelectedPreset();
  Dictionary* WorkingCopy(const std::string& name);
  bool StoreHeldImage(Dictionary& preset);
  void RenumberToTableOrder();

  std::vector<std::string> names_;
  Dictionary all_;
  Dictionary editor_;
  std::set<size_t> selectedRows_;
  std::optional<size_t> selectedRow_;
  std::vector<Listener> listeners_;
  std::string lastImageError_;
};

}  // namespace quillsheet
