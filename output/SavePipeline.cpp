#include "output/SavePipeline.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <QUuid>

#include "output/PdfWriter.h"

namespace quillsheet {
namespace {

// A temporary file that is removed when it goes out of scope unless it was
// delivered.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& destination)
      : path_(TemporaryPathForDestination(destination)) {}
  ~TemporaryFile() {
    std::error_code ignored;
    if (!delivered_) std::filesystem::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::filesystem::path& path() const { return path_; }

  std::uintmax_t Size() const {
    std::error_code ignored;
    return std::filesystem::file_size(path_, ignored);
  }

  // Renames the file over the destination in one step.
  WriteOutcome DeliverTo(const std::filesystem::path& destination) {
    std::error_code failure;
    std::filesystem::rename(path_, destination, failure);
    if (failure) {
      return WriteOutcome::Failed("cannot put " + destination.string() +
                                  " in place: " + failure.message());
    }
    delivered_ = true;
    return WriteOutcome::Written();
  }

 private:
  std::filesystem::path path_;
  bool delivered_ = false;
};

struct InteractiveParts {
  size_t fields = 0;
  size_t links = 0;
  size_t outlineEntries = 0;
  bool operator==(const InteractiveParts&) const = default;
};

size_t CountOutline(const std::vector<QPDFOutlineObjectHelper>& items) {
  size_t count = items.size();
  for (auto item : items) count += CountOutline(item.getKids());
  return count;
}

// What a filter must not lose: form fields, links and outline entries.
std::optional<InteractiveParts> CountInteractiveParts(const std::filesystem::path& path,
                                                      const std::string& password) {
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str(), password.c_str());
    InteractiveParts parts;
    parts.fields = QPDFAcroFormDocumentHelper(pdf).getFormFields().size();
    for (auto& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
      parts.links += page.getAnnotations("/Link").size();
    }
    QPDFOutlineDocumentHelper outline(pdf);
    parts.outlineEntries = CountOutline(outline.getTopLevelOutlines());
    return parts;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// Writes the marked document from a filtered copy of the source; no value
// when the filter fails or would lose an interactive part.
std::unique_ptr<TemporaryFile> MarkFilteredCopy(const SaveRequest& request,
                                                const CancelFlag* cancel, WriteOutcome& outcome) {
  TemporaryFile filtered(request.destination);
  outcome = ApplyQualityFilter(*request.filter, request.source, filtered.path(), cancel);
  if (!outcome.ok()) return nullptr;
  const auto before = CountInteractiveParts(request.source.path, request.source.password);
  const auto after = CountInteractiveParts(filtered.path(), "");
  if (!before || !after || *before != *after) return nullptr;
  auto marked = std::make_unique<TemporaryFile>(request.destination);
  WriteRequest write{
      {filtered.path().string(), ""}, request.settings,   marked->path(), request.encryption,
      request.selectionTag,           request.rangeString};
  outcome = WriteWatermarkedDocument(write, cancel);
  return outcome.ok() ? std::move(marked) : nullptr;
}

}  // namespace

std::filesystem::path TemporaryPathForDestination(const std::filesystem::path& destination) {
  const std::string unique = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
  const std::filesystem::path folder =
      destination.has_parent_path() ? destination.parent_path() : std::filesystem::path(".");
  return folder / ("." + destination.filename().string() + "." + unique + ".tmp");
}

std::optional<EncryptionOptions> GetEncryptionDictionary(bool checked, const std::string& password,
                                                         const std::string& verify) {
  if (!checked || password.empty() || password != verify) return std::nullopt;
  return EncryptionOptions{password};
}

WriteOutcome SaveAsPDFFileOfSelectedDict(const SaveRequest& request, const CancelFlag* cancel) {
  TemporaryFile drawn(request.destination);
  const WriteRequest write{request.source,     request.settings,     drawn.path(),
                           request.encryption, request.selectionTag, request.rangeString};
  WriteOutcome outcome = WriteWatermarkedDocument(write, cancel);
  if (!outcome.ok()) return outcome;
  if (request.filter) {
    WriteOutcome filterOutcome;
    auto filtered = MarkFilteredCopy(request, cancel, filterOutcome);
    if (filterOutcome.status == WriteOutcome::Status::Cancelled) return filterOutcome;
    if (filtered && filtered->Size() < drawn.Size())
      return filtered->DeliverTo(request.destination);
  }
  if (IsCancelled(cancel)) return WriteOutcome::Cancelled();
  return drawn.DeliverTo(request.destination);
}

}  // namespace quillsheet
