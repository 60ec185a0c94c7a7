#include "editor/PresetLibrary.h"

#include <QBuffer>
#include <QByteArray>
#include <algorithm>

#include "common/AppPaths.h"
#include "common/AtomicFile.h"
#include "common/FileLock.h"
#include "common/GeneralPreferences.h"
#include "common/NumberedName.h"
#include "common/PropertyList.h"
#include "common/SettingsStore.h"
#include "editor/PresetOrder.h"

namespace quillsheet {
namespace {

using presetkey::kDirtyFlag;
using presetkey::kImage;
using presetkey::kWaterMarkImagePath;
using presetkey::kWaterMarkPresetIndex;

constexpr const char* kImageFolder = "Brightleaf";
constexpr const char* kImagePrefix = "watermark_image";

void Set(Dictionary& dictionary, std::string_view key, Value value) {
  dictionary.insert_or_assign(std::string(key), std::move(value));
}

Value::Image HeldImage(const Dictionary& preset) {
  const Value* value = Find(preset, kImage);
  const Value::Image* image = value ? value->ImageValue() : nullptr;
  return image ? *image : nullptr;
}

// The presets of a file: only dictionary entries count.
Dictionary PresetsOf(const Dictionary& file) {
  Dictionary presets;
  for (const auto& [name, value] : file) {
    if (value.DictionaryValue() && !name.empty()) presets.emplace(name, value);
  }
  return presets;
}

// A preset as the file holds it: saved, so never marked modified.
Value ForFile(const Dictionary& preset) {
  Dictionary saved = preset;
  Set(saved, kDirtyFlag, false);
  return Value(std::move(saved));
}

std::optional<Dictionary> ReadPresetFile() {
  Dictionary file;
  if (!ReadSettingsPlist(file, kPresetLibraryFileFormat)) return std::nullopt;
  return file;
}

std::optional<Dictionary> ReadBundledDefaults() {
  const auto read = ReadPropertyListFile(ResourceFolder() / "DefaultPreset.plist");
  const Dictionary* presets = read.value ? read.value->DictionaryValue() : nullptr;
  return presets ? std::optional<Dictionary>(*presets) : std::nullopt;
}

}  // namespace

void PresetLibrary::Notify(Change change, std::vector<size_t> rows) const {
  listeners_.Notify(Update{change, std::move(rows)});
}

std::vector<size_t> PresetLibrary::SelectedRowList() const {
  return {selectedRows_.begin(), selectedRows_.end()};
}

std::int64_t PresetLibrary::selectedRow() const {
  return selectedRow_ ? static_cast<std::int64_t>(*selectedRow_) : -1;
}

Dictionary* PresetLibrary::WorkingCopy(const std::string& name) {
  auto found = all_.find(name);
  return found == all_.end() ? nullptr : found->second.DictionaryValue();
}

Result PresetLibrary::Load() {
  names_.clear();
  selectedRows_.clear();
  selectedRow_.reset();
  Result stored = Result::Ok();
  std::string damage;
  Dictionary read;
  std::optional<Dictionary> file;
  if (ReadSettingsPlist(read, kPresetLibraryFileFormat, &damage) && damage.empty()) file = read;
  if (!file) {
    // First start, or a file that does not read: the bundled presets, and
    // the damaged file kept aside by the write.
    file = ReadBundledDefaults();
    if (file) stored = WriteSettingsPlist(*file, kPresetLibraryFileFormat);
    if (!damage.empty() && stored.ok()) stored = DamagedFileKept();
  }
  all_ = file ? PresetsOf(*file) : Dictionary{};
  names_ = PresetNamesInTableOrder(all_);

  std::int64_t row = names_.empty() ? -1 : 0;
  if (const auto preferences = ReadGeneralPrefOptions()) {
    row = IntegerFor(*preferences, prefkey::kWaterMarkPresetIndex).value_or(-1);
    if (!names_.empty() && (row < 0 || row >= static_cast<std::int64_t>(names_.size()))) row = 0;
  }
  editor_.clear();
  if (row < 0) {
    GetDefaultWatermarkOptions(editor_, currentPattern_);
    Notify(Change::Editor);
  } else if (!names_.empty()) {
    SelectRowStartingAtRow(row);
  }
  Notify(Change::Table);
  Notify(Change::Buttons);
  return stored;
}

// Names the copy the last write kept of an unreadable library file.
Result PresetLibrary::DamagedFileKept() {
  const std::filesystem::path file = SettingsFilePath(kPresetLibraryFileFormat);
  const std::string prefix = file.filename().string() + ".unreadable-";
  std::string kept;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), ignored)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix)) kept = std::max(kept, name);
  }
  return Result::Failed("could not read " + file.string() +
                        "; the bundled presets are used; the file is kept as " + kept);
}

void PresetLibrary::SelectRowStartingAtRow(std::int64_t row) {
  if (names_.empty()) return;
  const auto last = static_cast<std::int64_t>(names_.size()) - 1;
  const auto chosen = static_cast<size_t>(std::clamp<std::int64_t>(row, 0, last));
  SetSelection({chosen}, chosen);
}

void PresetLibrary::SetSelection(const std::set<size_t>& rows, std::optional<size_t> selected) {
  selectedRows_.clear();
  for (size_t row : rows) {
    if (row < names_.size()) selectedRows_.insert(row);
  }
  selectedRow_ = selected && *selected < names_.size() ? selected : std::nullopt;
  LoadSelectedPreset();
}

void PresetLibrary::LoadSelectedPreset() {
  if (selectedRow_) {
    const Dictionary* preset = WorkingCopy(names_[*selectedRow_]);
    editor_.clear();
    if (preset) {
      editor_ = *preset;
    } else {
      GetDefaultWatermarkOptions(editor_, currentPattern_);
    }
    Notify(Change::Editor);
    Notify(Change::Preview);
  }
  Notify(Change::Buttons);
}

void PresetLibrary::setObjectToSelectedPreset(const Value& value, std::string_view key) {
  Set(editor_, key, value);
  Set(editor_, kDirtyFlag, true);
  if (!names_.empty() && !selectedRows_.empty()) {
    for (size_t row : selectedRows_) {
      if (Dictionary* preset = WorkingCopy(names_[row])) {
        Set(*preset, key, value);
        Set(*preset, kDirtyFlag, true);
      }
    }
    Notify(Change::Table, SelectedRowList());
    Notify(Change::Buttons);
  }
  Notify(Change::Preview);
}

PresetLibrary::WorkingCopies PresetLibrary::SelectedWorkingCopies() const {
  WorkingCopies copies;
  for (size_t row : selectedRows_) {
    if (const Dictionary* preset = DictionaryFor(all_, names_[row])) {
      copies.emplace_back(names_[row], *preset);
    }
  }
  return copies;
}

void PresetLibrary::RestoreWorkingCopies(const WorkingCopies& copies) {
  std::vector<size_t> rows;
  for (const auto& [name, preset] : copies) {
    Dictionary* copy = WorkingCopy(name);
    if (!copy) continue;
    *copy = preset;
    rows.push_back(
        static_cast<size_t>(std::find(names_.begin(), names_.end(), name) - names_.begin()));
  }
  if (!rows.empty()) Notify(Change::Table, rows);
  LoadSelectedPreset();
}

std::optional<std::string> PresetLibrary::saveCustomWatermarkImage(const QImage& image,
                                                                   std::string& error) {
  const auto folder = GetApplicationSupportFolder(kImageFolder, &error);
  if (!folder) return std::nullopt;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "PNG")) {
    error = "the picture cannot be encoded";
    return std::nullopt;
  }
  const auto name = FirstFreeNumberedName(
      kImagePrefix, "", false,
      [&](const std::string& candidate) {
        std::error_code ignored;
        return !std::filesystem::exists(*folder / candidate, ignored);
      },
      999999);
  if (!name) {
    error = "no free image file name in " + folder->string();
    return std::nullopt;
  }
  // Written under a temporary name and renamed, so the name a preset points
  // to never holds half a picture.
  const Result written =
      WriteFileAtomically(*folder / *name, std::string_view(png.constData(), png.size()));
  if (!written.ok()) {
    error = written.message();
    return std::nullopt;
  }
  return (*folder / *name).string();
}

bool PresetLibrary::IsOwnImageFile(const std::string& path) {
  const std::filesystem::path file(path);
  const std::string name = file.filename().string();
  const std::string_view prefix(kImagePrefix);
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
      name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) {
    return false;
  }
  const auto folder = GetApplicationSupportFolder(kImageFolder);
  std::error_code failure;
  return folder && std::filesystem::equivalent(file.parent_path(), *folder, failure) && !failure;
}

void PresetLibrary::DeleteWatermarkImageFile(const std::string* path) {
  if (!path || path->empty() || !IsOwnImageFile(*path)) return;
  std::error_code ignored;
  if (std::filesystem::is_regular_file(*path, ignored)) std::filesystem::remove(*path, ignored);
}

// Turns an image held in memory into a new file for the preset. The file it
// replaces is deleted only once the library file names the new one.
bool PresetLibrary::StoreHeldImage(Dictionary& preset) {
  const Value::Image image = HeldImage(preset);
  if (!image) return true;
  const auto path = saveCustomWatermarkImage(*image, lastImageError_);
  if (!path) return false;
  pendingImages_.created.push_back(*path);
  if (const std::string* old = StringFor(preset, kWaterMarkImagePath)) {
    pendingImages_.obsolete.push_back(*old);
  }
  Set(preset, kWaterMarkImagePath, *path);
  preset.erase(std::string(kImage));
  return true;
}

// Every write numbers the presets 0..n-1 in table order, so no operation
// leaves a gap or a shared index, and a file that had them is mended.
Result PresetLibrary::Store(Dictionary file) {
  RenumberToTableOrder(file);
  const Result written = WriteSettingsPlist(file, kPresetLibraryFileFormat);
  for (const std::string& path : written.ok() ? pendingImages_.obsolete : pendingImages_.created) {
    DeleteWatermarkImageFile(&path);
  }
  pendingImages_ = {};
  return written;
}

// Runs an operation that ends by storing the library file. When storing
// fails, the table, the working copies, the editor's copy and the selection
// are put back as they were, so what is shown is what is stored.
//
// Other processes (the command line, a second window) change the same file:
// the outermost operation holds the library's lock from before it reads the
// file until after it wrote it, and first takes in what they wrote.
Result PresetLibrary::Transaction(const std::function<Result()>& change) {
  std::optional<ExclusiveFileLock> lock;
  if (!inTransaction_) {
    lock.emplace(LockFile());
    MergeFromDisk(false);
  }
  const bool outermost = !inTransaction_;
  inTransaction_ = true;
  const auto names = names_;
  const auto all = all_;
  const auto editor = editor_;
  const auto rows = selectedRows_;
  const auto row = selectedRow_;
  pendingImages_ = {};
  const Result result = change();
  if (outermost) inTransaction_ = false;
  if (!result.ok()) {
    names_ = names;
    all_ = all;
    editor_ = editor;
    selectedRows_ = rows;
    selectedRow_ = row;
    for (Change change : {Change::Table, Change::Editor, Change::Buttons, Change::Preview}) {
      Notify(change);
    }
  }
  return result;
}

Result PresetLibrary::AddPreset(const std::string& name) {
  if (name.empty()) return Result::Failed("a preset needs a name");
  return Transaction([&] {
    // Also one another program added since this library was read.
    if (HasPreset(name)) {
      return Result::Failed("a preset named \"" + name + "\" exists already");
    }
    const auto sourceRow = selectedRow_;
    names_.push_back(name);
    Set(editor_, kWaterMarkPresetIndex, static_cast<std::int64_t>(names_.size() - 1));
    Set(editor_, kDirtyFlag, false);
    if (HeldImage(editor_)) {
      // The new preset gets a file of its own; the old path stays with the source.
      editor_.erase(std::string(kWaterMarkImagePath));
      if (!StoreHeldImage(editor_)) Set(editor_, kDirtyFlag, true);
    } else if (const std::string* path = StringFor(editor_, kWaterMarkImagePath)) {
      if (const Value::Image image = DecodeImageFile(*path)) {
        if (const auto copy = saveCustomWatermarkImage(*image, lastImageError_)) {
          pendingImages_.created.push_back(*copy);
          Set(editor_, kWaterMarkImagePath, *copy);
        }
      }
    }
    all_.insert_or_assign(name, Value(editor_));

    std::optional<Dictionary> file = ReadPresetFile();
    if (file && sourceRow) {
      const std::string& source = names_[*sourceRow];
      if (const Dictionary* saved = DictionaryFor(*file, source)) {
        Dictionary restored = *saved;
        Set(restored, kDirtyFlag, false);
        all_.insert_or_assign(source, Value(std::move(restored)));
      }
    }
    if (!file) file.emplace();
    file->insert_or_assign(name, ForFile(editor_));
    const Result stored = Store(*file);
    if (stored.ok()) Notify(Change::Table);
    return stored;
  });
}

// Stores the editor's copy under newName (in place of oldName) in the file
// and the working copies.
void PresetLibrary::UpdatePresetAction(Dictionary& file, const std::string& oldName,
                                       const std::string& newName) {
  const Dictionary* old = DictionaryFor(file, oldName);
  const std::int64_t index = old ? IntegerFor(*old, kWaterMarkPresetIndex).value_or(0)
                                 : static_cast<std::int64_t>(file.size());
  Set(editor_, kWaterMarkPresetIndex, index);
  if (!StoreHeldImage(editor_)) Set(editor_, kDirtyFlag, true);
  file.insert_or_assign(newName, ForFile(editor_));
  all_.insert_or_assign(newName, Value(editor_));
  if (oldName != newName) {
    file.erase(oldName);
    all_.erase(oldName);
  }
}

// Takes a preset out of the file and the working copies (the store that
// follows numbers the others again).
void PresetLibrary::RemovePreset(Dictionary& file, const std::string& name) {
  if (const Dictionary* entry = DictionaryFor(file, name)) {
    if (const std::string* path = StringFor(*entry, kWaterMarkImagePath)) {
      pendingImages_.obsolete.push_back(*path);
    }
  }
  file.erase(name);
  all_.erase(name);
}

// A preset whose picture cannot be written is not saved at all (the file
// keeps its saved state, never an image fill without its picture); it stays
// modified and the result says why, while the others are saved.
Result PresetLibrary::SaveSelectedRow() {
  if (selectedRows_.empty()) return Result::Ok();
  std::vector<std::string> unsaved;
  const Result result = Transaction([&] {
    Dictionary file = ReadPresetFile().value_or(Dictionary{});
    std::vector<Dictionary*> saved;
    for (size_t row : selectedRows_) {
      Dictionary* preset = WorkingCopy(names_[row]);
      if (!preset) continue;
      if (!StoreHeldImage(*preset)) {
        unsaved.push_back(names_[row]);
        continue;
      }
      saved.push_back(preset);
      file.insert_or_assign(names_[row], ForFile(*preset));
    }
    const Result stored = Store(file);
    if (!stored.ok()) return stored;
    for (Dictionary* preset : saved) Set(*preset, kDirtyFlag, false);
    Set(editor_, kDirtyFlag, false);
    // The editor mirrors the saved preset, so a picture is not stored twice.
    if (selectedRow_ && selectedRows_.count(*selectedRow_)) {
      if (const Dictionary* preset = WorkingCopy(names_[*selectedRow_])) editor_ = *preset;
    }
    return stored;
  });
  Notify(Change::Table, SelectedRowList());
  Notify(Change::Buttons);
  return result.ok() ? PicturesNotStored(unsaved) : result;
}

Result PresetLibrary::PicturesNotStored(const std::vector<std::string>& names) const {
  if (names.empty()) return Result::Ok();
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "\"" : ", \"") + name + "\"";
  return Result::Failed("the picture of " + list + " could not be stored (" + lastImageError_ +
                        "); not saved, still modified");
}

void PresetLibrary::RevertSelectedRow() {
  if (selectedRows_.empty()) return;
  if (const std::optional<Dictionary> file = ReadPresetFile()) {
    for (size_t row : selectedRows_) {
      const Dictionary* saved = DictionaryFor(*file, names_[row]);
      if (!saved) continue;
      Dictionary restored = *saved;
      Set(restored, kDirtyFlag, false);
      all_.insert_or_assign(names_[row], Value(std::move(restored)));
    }
    if (selectedRow_) {
      if (const Dictionary* preset = WorkingCopy(names_[*selectedRow_])) editor_ = *preset;
      Notify(Change::Editor);
    }
    Notify(Change::Table, SelectedRowList());
    Notify(Change::Preview);
  }
  Set(editor_, kDirtyFlag, false);
  Notify(Change::Buttons);
}

// Writes the presets modified here over the file as it is now: presets
// another program added stay, and ones it removed do not come back.
Result PresetLibrary::SaveAll() {
  std::vector<std::string> unsaved;
  const Result result = Transaction([&] {
    Dictionary file = ReadPresetFile().value_or(Dictionary{});
    std::vector<Dictionary*> saved;
    for (const std::string& name : names_) {
      Dictionary* preset = WorkingCopy(name);
      if (!preset || !IsModifiedPreset(name)) continue;
      if (StoreHeldImage(*preset)) {
        saved.push_back(preset);
        file.insert_or_assign(name, ForFile(*preset));
      } else {
        unsaved.push_back(name);
      }
    }
    const Result stored = Store(file);
    if (stored.ok()) {
      for (Dictionary* preset : saved) Set(*preset, kDirtyFlag, false);
    }
    return stored;
  });
  Notify(Change::Table);
  Notify(Change::Buttons);
  return result.ok() ? PicturesNotStored(unsaved) : result;
}

WatermarkSettings PresetLibrary::GetPresetSettingsForIndex(std::int64_t row) const {
  if (row < 0 || row >= static_cast<std::int64_t>(names_.size())) {
    return GetPresetSettingsFrom(nullptr, currentPattern_);
  }
  return GetPresetSettingsFrom(DictionaryFor(all_, names_[static_cast<size_t>(row)]),
                               currentPattern_);
}

bool PresetLibrary::HasPreset(const std::string& name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

std::string PresetLibrary::NewPresetName(const std::string& editorText) const {
  return *FirstFreeNumberedName(editorText.empty() ? "Preset" : editorText, " ", true,
                                [this](const std::string& name) { return !HasPreset(name); });
}

Result PresetLibrary::AddToEndOfTable(const std::string& editorText, std::string* added) {
  // The name is picked while the library is locked, so it is free on disk.
  std::string name;
  const Result stored = Transaction([&] {
    name = NewPresetName(editorText);
    return AddPreset(name);
  });
  if (!stored.ok()) return stored;
  SelectRowStartingAtRow(static_cast<std::int64_t>(names_.size()) - 1);
  if (added) *added = name;
  return stored;
}

bool PresetLibrary::IsModified(size_t row) const {
  return row < names_.size() && IsModifiedPreset(names_[row]);
}

bool PresetLibrary::IsModifiedPreset(const std::string& name) const {
  const Dictionary* preset = DictionaryFor(all_, name);
  return preset && BooleanFor(*preset, kDirtyFlag).value_or(false);
}

std::string PresetLibrary::DisplayName(size_t row) const {
  if (row >= names_.size()) return {};
  return IsModified(row) ? std::string(kModifiedStar) + names_[row] : names_[row];
}

RenameCheck PresetLibrary::ValidateRename(size_t row, const std::string& text) const {
  if (row >= names_.size()) return RenameCheck::Accept;
  std::string name = text;
  if (IsModified(row) && name.rfind(kModifiedStar, 0) == 0) name.erase(0, kModifiedStar.size());
  if (name.empty()) return RenameCheck::EmptyName;
  if (name == names_[row] || !HasPreset(name)) return RenameCheck::Accept;
  return RenameCheck::NameTaken;
}

Result PresetLibrary::CommitRename(size_t row, const std::string& text) {
  if (row >= names_.size()) return Result::Ok();
  const std::string oldName = names_[row];
  std::string newName = text;
  if (IsModified(row) && newName.rfind(kModifiedStar, 0) == 0) {
    newName.erase(0, kModifiedStar.size());
  }
  if (newName.empty()) return Result::Failed("a preset needs a name");
  const Result result = Transaction([&] {
    Set(editor_, kDirtyFlag, false);
    Set(*WorkingCopy(oldName), kDirtyFlag, false);
    Dictionary file = ReadPresetFile().value_or(Dictionary{});
    const bool replacing = newName != oldName && HasPreset(newName);
    if (newName != oldName) {
      if (replacing) {
        RemovePreset(file, newName);
      } else {
        names_.insert(names_.begin() + static_cast<std::ptrdiff_t>(row), newName);
      }
      names_.erase(std::find(names_.begin(), names_.end(), oldName));
    }
    UpdatePresetAction(file, oldName, newName);
    return Store(file);
  });
  Notify(Change::Buttons);
  Notify(Change::Table);
  if (result.ok() && newName != oldName) {
    const auto at = std::find(names_.begin(), names_.end(), newName);
    SelectRowStartingAtRow(at - names_.begin());
  }
  return result;
}

std::filesystem::path PresetLibrary::LockFile() {
  std::filesystem::path lock = SettingsFilePath(kPresetLibraryFileFormat);
  lock += ".lock";
  return lock;
}

void PresetLibrary::Refresh() {
  const ExclusiveFileLock lock(LockFile());
  MergeFromDisk(true);
}

// What the file holds now, taken into the table: presets another program
// added are appended in the file's order; presets not modified here follow
// the file; with dropGone, those it no longer has leave the table (modified
// ones stay, to be saved or discarded). The selection follows its presets.
void PresetLibrary::MergeFromDisk(bool dropGone) {
  const std::optional<Dictionary> file = ReadPresetFile();
  if (!file) return;
  const Dictionary disk = PresetsOf(*file);
  const std::optional<std::string> shown =
      selectedRow_ ? std::optional<std::string>(names_[*selectedRow_]) : std::nullopt;
  std::set<std::string> selected;
  for (size_t row : selectedRows_) selected.insert(names_[row]);
  bool changed = false;
  bool shownChanged = false;
  std::vector<std::string> names;
  for (const std::string& name : names_) {
    const Dictionary* saved = DictionaryFor(disk, name);
    if (!saved && dropGone && !IsModifiedPreset(name)) {
      all_.erase(name);
      changed = true;
      continue;
    }
    names.push_back(name);
    if (saved && !IsModifiedPreset(name)) {
      Dictionary restored = *saved;
      Set(restored, kDirtyFlag, false);
      if (const Dictionary* now = DictionaryFor(all_, name); !now || *now != restored) {
        all_.insert_or_assign(name, Value(std::move(restored)));
        changed = true;
        shownChanged |= shown == name;
      }
    }
  }
  for (const std::string& name : PresetNamesInTableOrder(disk)) {
    if (std::find(names.begin(), names.end(), name) != names.end()) continue;
    Dictionary restored = *DictionaryFor(disk, name);
    Set(restored, kDirtyFlag, false);
    all_.insert_or_assign(name, Value(std::move(restored)));
    names.push_back(name);
    changed = true;
  }
  if (!changed) return;
  names_ = std::move(names);
  selectedRows_.clear();
  selectedRow_.reset();
  for (size_t row = 0; row < names_.size(); ++row) {
    if (selected.count(names_[row])) selectedRows_.insert(row);
    if (shown == names_[row]) selectedRow_ = row;
  }
  Notify(Change::Table);
  if (shown && !selectedRow_ && !names_.empty()) {
    SelectRowStartingAtRow(0);  // the preset on show went elsewhere
  } else if (shownChanged) {
    LoadSelectedPreset();
  }
  Notify(Change::Buttons);
}

void PresetLibrary::RenumberToTableOrder(Dictionary& file) {
  for (size_t row = 0; row < names_.size(); ++row) {
    const auto index = static_cast<std::int64_t>(row);
    if (Dictionary* preset = WorkingCopy(names_[row])) Set(*preset, kWaterMarkPresetIndex, index);
    const auto saved = file.find(names_[row]);
    if (saved != file.end() && saved->second.DictionaryValue()) {
      Set(*saved->second.DictionaryValue(), kWaterMarkPresetIndex, index);
    }
  }
}

Result PresetLibrary::RemoveRows(const std::set<size_t>& rows) {
  std::vector<size_t> valid;
  for (size_t row : rows) {
    if (row < names_.size()) valid.push_back(row);
  }
  if (valid.empty()) return Result::Ok();
  const Result result = Transaction([&] {
    std::optional<Dictionary> file = ReadPresetFile();
    for (auto row = valid.rbegin(); row != valid.rend(); ++row) {
      if (file) {
        RemovePreset(*file, names_[*row]);
      } else {
        all_.erase(names_[*row]);
      }
    }
    for (auto row = valid.rbegin(); row != valid.rend(); ++row) {
      names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(*row));
    }
    return file ? Store(*file) : Result::Ok();
  });
  if (!result.ok()) return result;
  Notify(Change::Table);
  if (names_.empty()) {
    selectedRows_.clear();
    selectedRow_.reset();
    Notify(Change::Buttons);
  } else {
    SelectRowStartingAtRow(static_cast<std::int64_t>(valid.front()));
  }
  return result;
}

bool PresetLibrary::RemoveButtonEnabled() const { return !names_.empty() && selectedRow_; }

bool PresetLibrary::SaveAndRevertEnabled() const {
  return std::any_of(selectedRows_.begin(), selectedRows_.end(),
                     [this](size_t row) { return IsModified(row); });
}

Result PresetLibrary::CheckAndSetModifiedPresetRow(const std::function<QuitAnswer()>& ask) {
  bool anyModified = false;
  for (size_t row = 0; row < names_.size() && !anyModified; ++row) anyModified = IsModified(row);
  if (!anyModified) return Result::Ok();
  switch (ask()) {
    case QuitAnswer::Cancel:
      return Result::Cancelled();
    case QuitAnswer::Save:
      return SaveAll();
    case QuitAnswer::DontSave:
      return Result::Ok();
  }
  return Result::Ok();
}

}  // namespace quillsheet
