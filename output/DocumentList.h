// The list of PDF documents a conversion processes. Each entry keeps its
// document open (for the preview) together with the password that unlocked
// it (for the writer, which opens the file again for itself).
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/ListenerList.h"
#include "engine/SourceDocument.h"
#include "output/DocumentEntry.h"

namespace quillsheet {

struct ListedDocument {
  std::filesystem::path path;  // "PDFURL"
  int pages = 0;               // "Pages", at least 1
  // "PDFDocument" (may be released): the pages as a conversion reads them,
  // without the marks of an earlier run, which converting replaces.
  std::shared_ptr<SourceDocument> document;
  std::string password;  // "Password"

  DocumentEntry Entry() const { return {path.string(), password}; }
};

// Asks the user for the password of a locked file.
class PasswordPrompt {
 public:
  struct Answer {
    enum class Kind { Password, Skip, SkipAll, Cancel };
    Kind kind = Kind::Skip;
    std::string password;
  };
  virtual ~PasswordPrompt() = default;
  // Asked about a file by its whole path; asked again, with the same file and
  // the next attempt number (from 1), after a password that did not open it
  // with printing allowed. Called on the adding thread.
  virtual Answer Ask(const std::filesystem::path& file, int attempt) = 0;
};

// Whether a file is taken as a PDF: the extension "pdf" in any letter case,
// or, without that extension, a file that starts with a PDF header.
bool IsPdfFile(const std::filesystem::path& path);

// How one add operation went: files left out, with the reason, except
// non-PDF files met inside folders, which are passed over silently.
struct AddReport {
  size_t added = 0;
  std::vector<std::pair<std::filesystem::path, std::string>> leftOut;
  // Files already listed (or named twice), which are not listed again.
  std::vector<std::filesystem::path> alreadyListed;
  bool cancelled = false;  // the user cancelled at a password question
};

// Threads: Add runs on a worker thread (one add at a time; a second waits),
// the other operations on any thread; the entries are guarded, so Snapshot,
// Count and CountLabel always see a whole list. Listeners are called on the
// thread that made the change (the adding worker for adds), after the change,
// without the list's lock held; a window hands them over to its main thread.
class DocumentList {
 public:
  // What changed: rows appended at the end, rows removed (their indexes
  // before the removal, ascending), or a reset (moved rows, all removed).
  struct Update {
    enum class Kind { Appended, Removed, Reset };
    Kind kind = Kind::Reset;
    std::vector<size_t> rows;
  };
  using Listener = std::function<void(const Update&)>;

  // The window keeps each document open for its preview; a batch of
  // thousands of files from the command line does not (the writer opens
  // every file again for itself).
  explicit DocumentList(bool keepDocumentsOpen = true) : keepDocumentsOpen_(keepDocumentsOpen) {}
  ListenerToken AddListener(Listener listener) { return listeners_.Add(std::move(listener)); }
  void RemoveListener(ListenerToken token) { listeners_.Remove(token); }

  // Adds files and the PDF files of folders (their direct children, or every
  // descendant when recursive; hidden files and application bundles are
  // skipped; each real folder is visited once, so links that loop are
  // harmless), appending in order. One add runs at a time; a second waits.
  // Setting cancel stops the add between two files (also while listing).
  AddReport Add(const std::vector<std::filesystem::path>& paths, bool recursive,
                PasswordPrompt* prompt, const CancelFlag* cancel = nullptr);

  void Remove(const std::set<size_t>& rows);
  void RemoveAll();
  // Moves a block of rows to stand before dropRow, as an internal drag does;
  // gives the row the block now starts at. None when the rows cannot be
  // dragged (none, all of them, or out of range).
  std::optional<size_t> MoveRows(const std::set<size_t>& rows, size_t dropRow);

  size_t Count() const;
  // A copy of the entries, so a conversion is not disturbed by later adds.
  std::vector<ListedDocument> Snapshot() const;
  std::string CountLabel() const;

 private:
  void Append(ListedDocument document);

  bool keepDocumentsOpen_;
  mutable std::mutex entriesGuard_;
  std::mutex addGuard_;
  std::vector<ListedDocument> entries_;
  ListenerList<const Update&> listeners_;
};

// Opens one file for the list: unlocked with the empty password when that
// allows printing, else with a password from the prompt. No document, with the
// reason, when it cannot be listed.
struct UnlockState {
  bool skipAll = false;
  bool cancel = false;
};
std::shared_ptr<SourceDocument> OpenForList(const std::filesystem::path& path,
                                            PasswordPrompt* prompt, UnlockState& state,
                                            std::string& password, std::string& reason);

}  // namespace quillsheet
