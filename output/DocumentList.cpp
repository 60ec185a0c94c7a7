#include "output/DocumentList.h"

#include <set>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "output/UnmarkedSource.h"

namespace quillsheet {
namespace {

bool IsHidden(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  return !name.empty() && name.front() == '.';
}

bool IsBundle(const std::filesystem::path& path) { return path.extension() == ".app"; }

bool StartsWithPdfHeader(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  char head[1024] = {};
  stream.read(head, sizeof head);
  return std::string_view(head, static_cast<size_t>(stream.gcount())).find("%PDF-") !=
         std::string_view::npos;
}

// Lists the files of folders, sorted by name, descending into sub-folders
// when recursive; hidden items and the insides of bundles are left out. Each
// real folder (device and inode) is listed once, however many links lead to
// it. Stops when cancelled.
class FolderWalk {
 public:
  FolderWalk(bool recursive, const CancelFlag* cancel) : recursive_(recursive), cancel_(cancel) {}

  void Collect(const std::filesystem::path& folder, std::vector<std::filesystem::path>& files) {
    if (!FirstVisit(folder)) return;
    std::vector<std::filesystem::path> children;
    std::error_code failure;
    for (std::filesystem::directory_iterator it(folder, failure), end; !failure && it != end;
         it.increment(failure)) {
      if (IsCancelled(cancel_)) return;
      children.push_back(it->path());
    }
    std::sort(children.begin(), children.end());
    for (const auto& child : children) {
      if (IsCancelled(cancel_)) return;
      if (IsHidden(child)) continue;
      std::error_code ignored;
      if (std::filesystem::is_directory(child, ignored)) {
        if (recursive_ && !IsBundle(child)) Collect(child, files);
      } else {
        files.push_back(child);
      }
    }
  }

 private:
  bool FirstVisit(const std::filesystem::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return false;
    return visited_.emplace(info.st_dev, info.st_ino).second;
  }

  bool recursive_;
  const CancelFlag* cancel_;
  std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace

bool IsPdfFile(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".pdf") return true;
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored) && StartsWithPdfHeader(path);
}

std::shared_ptr<SourceDocument> OpenForList(const std::filesystem::path& path,
                                            PasswordPrompt* prompt, UnlockState& state,
                                            std::string& password, std::string& reason) {
  OpenError error = OpenError::None;
  std::string message;
  std::shared_ptr<SourceDocument> document = SourceDocument::Open(path, "", error, message);
  password.clear();
  if (!document && error != OpenError::NeedsPassword) {
    reason =
        error == OpenError::Missing ? "no such file" : "not a PDF file, or damaged beyond repair";
    return nullptr;
  }
  if (!document || !document->AllowsPrinting()) {
    document.reset();
    if (state.skipAll) {
      reason = "protected by a password; skipped";
      return nullptr;
    }
    if (!prompt) {
      reason = "protected by a password that allows printing, which was not given";
      return nullptr;
    }
    for (int attempt = 1; !document; ++attempt) {
      const PasswordPrompt::Answer answer = prompt->Ask(path, attempt);
      if (answer.kind != PasswordPrompt::Answer::Kind::Password) {
        state.skipAll = answer.kind == PasswordPrompt::Answer::Kind::SkipAll;
        state.cancel = answer.kind == PasswordPrompt::Answer::Kind::Cancel;
        reason = attempt > 1 ? "wrong password" : "protected by a password; skipped";
        return nullptr;
      }
      document = SourceDocument::Open(path, answer.password, error, message);
      if (document && !document->AllowsPrinting()) document.reset();
      if (document) password = answer.password;
    }
  }
  if (document->PageCount() < 1) {
    reason = "has no pages";
    return nullptr;
  }
  return document;
}

void DocumentList::Append(ListedDocument document) {
  size_t row = 0;
  {
    std::lock_guard lock(entriesGuard_);
    row = entries_.size();
    entries_.push_back(std::move(document));
  }
  listeners_.Notify({Update::Kind::Appended, {row}});
}

namespace {

std::filesystem::path SameFileKey(const std::filesystem::path& file) {
  std::error_code ignored;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, ignored);
  return canonical.empty() ? std::filesystem::absolute(file, ignored) : canonical;
}

}  // namespace

AddReport DocumentList::Add(const std::vector<std::filesystem::path>& paths, bool recursive,
                            PasswordPrompt* prompt, const CancelFlag* cancel) {
  std::lock_guard serial(addGuard_);
  AddReport report;
  UnlockState state;
  // A file is listed once, however it was named; asked for again it is
  // not opened (nor asked for its password) again.
  std::set<std::filesystem::path> listedFiles;
  for (const ListedDocument& entry : Snapshot()) listedFiles.insert(SameFileKey(entry.path));
  const auto addOne = [&](const std::filesystem::path& file) {
    // A pipe or a device named *.pdf would be read without end.
    std::error_code notRegular;
    if (!std::filesystem::is_regular_file(file, notRegular)) {
      report.leftOut.emplace_back(file, "not a regular file (a pipe or a device)");
      return;
    }
    if (!listedFiles.insert(SameFileKey(file)).second) {
      report.alreadyListed.push_back(file);
      return;
    }
    ListedDocument listed;
    std::string reason;
    listed.document = OpenForList(file, prompt, state, listed.password, reason);
    if (!listed.document) {
      report.leftOut.emplace_back(file, reason);
      return;
    }
    listed.path = file;
    listed.pages = listed.document->PageCount();
    if (!keepDocumentsOpen_) {
      listed.document.reset();
    } else if (auto unmarked = OpenWithoutEarlierMarks(file, listed.password)) {
      listed.document = std::move(unmarked);
    }
    Append(std::move(listed));
    ++report.added;
  };
  for (const auto& path : paths) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
      std::vector<std::filesystem::path> files;
      FolderWalk(recursive, cancel).Collect(path, files);
      for (const auto& file : files) {
        if (state.cancel || IsCancelled(cancel)) break;
        if (IsPdfFile(file)) addOne(file);
      }
    } else if (!std::filesystem::exists(path, ignored)) {
      report.leftOut.emplace_back(path, "no such file");
    } else if (!IsPdfFile(path)) {
      report.leftOut.emplace_back(path, "not a PDF file");
    } else {
      addOne(path);
    }
    if (state.cancel || IsCancelled(cancel)) {
      report.cancelled = true;
      break;
    }
  }
  return report;
}

void DocumentList::Remove(const std::set<size_t>& rows) {
  std::vector<size_t> removed;
  {
    std::lock_guard lock(entriesGuard_);
    for (size_t row : rows) {
      if (row < entries_.size()) removed.push_back(row);
    }
    for (auto row = removed.rbegin(); row != removed.rend(); ++row) {
      entries_.erase(entries_.begin() + static_cast<ptrdiff_t>(*row));
    }
  }
  if (!removed.empty()) listeners_.Notify({Update::Kind::Removed, std::move(removed)});
}

void DocumentList::RemoveAll() {
  {
    std::lock_guard lock(entriesGuard_);
    entries_.clear();
  }
  listeners_.Notify({Update::Kind::Reset, {}});
}

std::optional<size_t> DocumentList::MoveRows(const std::set<size_t>& rows, size_t dropRow) {
  size_t destination = 0;
  {
    std::lock_guard lock(entriesGuard_);
    if (rows.empty() || rows.size() >= entries_.size() || *rows.rbegin() >= entries_.size() ||
        dropRow > entries_.size()) {
      return std::nullopt;
    }
    std::vector<ListedDocument> moved;
    for (size_t row : rows) moved.push_back(entries_[row]);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
      entries_.erase(entries_.begin() + static_cast<ptrdiff_t>(*row));
    }
    const auto before = static_cast<size_t>(
        std::count_if(rows.begin(), rows.end(), [dropRow](size_t row) { return row < dropRow; }));
    destination = dropRow - before;
    entries_.insert(entries_.begin() + static_cast<ptrdiff_t>(destination), moved.begin(),
                    moved.end());
  }
  listeners_.Notify({Update::Kind::Reset, {}});
  return destination;
}

size_t DocumentList::Count() const {
  std::lock_guard lock(entriesGuard_);
  return entries_.size();
}

std::vector<ListedDocument> DocumentList::Snapshot() const {
  std::lock_guard lock(entriesGuard_);
  return entries_;
}

std::string DocumentList::CountLabel() const {
  const size_t count = Count();
  char text[64];
  std::snprintf(text, sizeof text, count < 2 ? "Total File: %ld" : "Total Files: %ld",
                static_cast<long>(count));
  return text;
}

}  // namespace quillsheet
