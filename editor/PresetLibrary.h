// The library of named watermark presets behind the preset table: the
// working copies in memory, the saved state in the preset file, the editor's
// own copy of the selected preset, and the table's selection. Widgets call
// these operations and refresh themselves when told of a change.
//
// Used from one thread (the window's main thread, or the command line's).
// Every operation that stores the library file returns how that went; when
// storing fails, nothing it changed is kept in memory either (the modified
// marks included), and the reason is in the result.
#pragma once

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/GeneralPreferences.h"
#include "common/ListenerList.h"
#include "common/Result.h"
#include "common/Value.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet {

namespace presetkey {
// A preset's row in the table; the preferences file stores the selected row
// under the same key.
inline constexpr std::string_view kWaterMarkPresetIndex = prefkey::kWaterMarkPresetIndex;
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
  // What changed. For Change::Table, rows names the rows whose contents
  // changed (a name, its modified star); empty rows means the rows themselves
  // may have changed (added, removed, renamed, reordered).
  struct Update {
    Change change;
    std::vector<size_t> rows;
  };
  using Listener = std::function<void(const Update&)>;

  // Listeners are called on the library's thread, after the change.
  ListenerToken AddListener(Listener listener) { return listeners_.Add(std::move(listener)); }
  void RemoveListener(ListenerToken token) { listeners_.Remove(token); }

  // Reads the preset file, seeding it from the bundled "DefaultPreset.plist"
  // on first start, orders the presets and selects the stored row. A file
  // that cannot be read is kept aside and replaced by the bundled presets.
  // Fails when seeding the file failed, or to say that a damaged file was
  // kept aside (once: the next load reads the new file); the library is
  // loaded anyway.
  Result Load();

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

  // The working copies of the selected presets, by name: what undoing an
  // edit puts back.
  using WorkingCopies = std::vector<std::pair<std::string, Dictionary>>;
  WorkingCopies SelectedWorkingCopies() const;
  // Puts working copies back (a preset renamed or removed since is
  // skipped), shows the selected one in the editor and tells the listeners.
  void RestoreWorkingCopies(const WorkingCopies& copies);

  Result AddPreset(const std::string& name);
  Result SaveSelectedRow();
  void RevertSelectedRow();
  Result SaveAll();

  // Stores an image as a new file "watermark_imageN" (PNG) in the image
  // folder; no value, with the reason in error, when it cannot.
  std::optional<std::string> saveCustomWatermarkImage(const QImage& image, std::string& error);
  // Deletes a picture file, but only one the library made itself
  // ("watermark_image" and a number, in its own folder); any other path is
  // the user's file and is left alone.
  static void DeleteWatermarkImageFile(const std::string* path);
  static bool IsOwnImageFile(const std::string& path);

  // The pattern the pattern picker shows: new presets and presets without a
  // pattern take it. The first shipped pattern until the picker says.
  void SetCurrentPatternName(std::string name) { currentPattern_ = std::move(name); }

  // The record of the preset at a row; all defaults for -1 or a row that
  // names no preset.
  WatermarkSettings GetPresetSettingsForIndex(std::int64_t row) const;

  // Table rules.
  bool HasPreset(const std::string& name) const;
  std::string NewPresetName(const std::string& editorText) const;
  // Adds a preset from the editor's values under a new name (given back in
  // added) and selects it.
  Result AddToEndOfTable(const std::string& editorText, std::string* added = nullptr);
  RenameCheck ValidateRename(size_t row, const std::string& text) const;
  Result CommitRename(size_t row, const std::string& text);
  Result RemoveRows(const std::set<size_t>& rows);
  bool IsModified(size_t row) const;
  std::string DisplayName(size_t row) const;
  bool RemoveButtonEnabled() const;
  bool SaveAndRevertEnabled() const;
  // Ok when the application may quit; asks only when a preset is modified.
  // Cancelled when the user said so; failed when saving failed (then the
  // application must not quit: the changes would be lost).
  Result CheckAndSetModifiedPresetRow(const std::function<QuitAnswer()>& ask);

  // Takes in what another program (the command line, another window) wrote
  // to the library file: presets it added or changed and this library has
  // not modified, and the removal of those it removed. Every operation that
  // writes the file does the same first, under the library's lock.
  void Refresh();
  // The lock file beside the library file that writers take in turn.
  static std::filesystem::path LockFile();

  // Why the last custom image could not be stored, or empty.
  const std::string& lastImageError() const { return lastImageError_; }

 private:
  void Notify(Change change, std::vector<size_t> rows = {}) const;
  std::vector<size_t> SelectedRowList() const;
  void LoadSelectedPreset();
  Dictionary* WorkingCopy(const std::string& name);
  bool IsModifiedPreset(const std::string& name) const;
  bool StoreHeldImage(Dictionary& preset);
  void UpdatePresetAction(Dictionary& file, const std::string& oldName, const std::string& newName);
  void RemovePreset(Dictionary& file, const std::string& name);
  void RenumberToTableOrder(Dictionary& file);
  Result Store(Dictionary file);
  static Result DamagedFileKept();
  // Why the named presets were not saved: their pictures could not be
  // written. Ok for none.
  Result PicturesNotStored(const std::vector<std::string>& names) const;
  Result Transaction(const std::function<Result()>& change);
  void MergeFromDisk(bool dropGone);

  // Picture files made and made obsolete by the operation under way: the
  // obsolete ones are deleted once the library file is stored, the new ones
  // when it could not be.
  struct PendingImages {
    std::vector<std::string> created;
    std::vector<std::string> obsolete;
  };

  std::vector<std::string> names_;
  Dictionary all_;
  Dictionary editor_;
  std::set<size_t> selectedRows_;
  std::optional<size_t> selectedRow_;
  ListenerList<const Update&> listeners_;
  std::string lastImageError_;
  PendingImages pendingImages_;
  bool inTransaction_ = false;  // an operation holds the lock (nested ones do not lock again)
  std::string currentPattern_ = InitialPatternName();
};

}  // namespace quillsheet
