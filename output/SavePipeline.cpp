#include "output/SavePipeline.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include "output/MarkTag.h"
#include "output/PdfWriter.h"

namespace quillsheet {
namespace {

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

// A copy of the source for the filter, private to the user (the staged file
// is created readable by its owner only): without encryption, so the filter
// program never sees the password on its command line, and without earlier
// marks when they are to be replaced (the filter would make them part of the
// page).
std::unique_ptr<StagedFile> PreparedCopy(const SaveRequest& request) {
  Result failure;
  auto copy = StagedFile::Create(request.destination, failure);
  if (!copy) return nullptr;
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(request.source.path.c_str(), request.source.password.c_str());
    if (!request.keepMarks) RemoveTaggedMarks(pdf);
    QPDFWriter writer(pdf, copy->path().c_str());
    writer.setPreserveEncryption(false);
    writer.write();
  } catch (const std::exception&) {
    return nullptr;
  }
  return copy;
}

WriteRequest WriteRequestFor(const SaveRequest& request, const std::shared_ptr<DrawnMarks>& marks) {
  return {request.source,       request.settings,    marks,          request.encryption,
          request.selectionTag, request.rangeString, request.fields, request.presetName,
          request.keepMarks,    request.progress};
}

// Writes the marked document from a filtered copy of the source; no file
// when the filter fails or would lose a page or an interactive part.
std::unique_ptr<StagedFile> MarkFilteredCopy(const SaveRequest& request,
                                             const std::shared_ptr<DrawnMarks>& marks,
                                             const WrittenDocument& unfiltered,
                                             const CancelFlag* cancel, Result& outcome) {
  DocumentEntry source = request.source;
  std::unique_ptr<StagedFile> prepared;
  if (!source.password.empty() || unfiltered.unmarkedPages > 0) {
    prepared = PreparedCopy(request);
    if (!prepared) return nullptr;
    source = {prepared->path().string(), ""};
  }
  Result failure;
  const auto filtered = StagedFile::Create(request.destination, failure);
  if (!filtered) return nullptr;
  outcome = ApplyQualityFilter(*request.filter, source, filtered->path(), cancel);
  if (!outcome.ok()) return nullptr;
  const auto before = CountInteractiveParts(source.path, "");
  const auto after = CountInteractiveParts(filtered->path(), "");
  if (!before || !after || *before != *after) return nullptr;
  auto marked = StagedFile::Create(request.destination, failure);
  if (!marked) return nullptr;
  WriteRequest write = WriteRequestFor(request, marks);
  write.source = {filtered->path().string(), ""};
  write.progress = nullptr;
  WrittenDocument written;
  outcome = WriteWatermarkedDocument(write, *marked, cancel, &written);
  if (!outcome.ok() || written.pages != unfiltered.pages) return nullptr;
  return marked;
}

std::uintmax_t SizeOf(const StagedFile& file) {
  std::error_code ignored;
  return std::filesystem::file_size(file.path(), ignored);
}

}  // namespace

std::optional<std::string> EncryptionRequestProblem(bool checked, const std::string& password,
                                                    const std::string& verify) {
  if (!checked) return std::nullopt;
  if (password.empty()) return "the password for the output files is empty";
  if (password.find('\0') != std::string::npos) {
    return "the password for the output files contains a NUL character";
  }
  if (password.size() > kLongestPassword) {
    return "the password for the output files is longer than " + std::to_string(kLongestPassword) +
           " bytes";
  }
  if (password != verify) return "the password and its verification differ";
  return std::nullopt;
}

std::optional<EncryptionOptions> GetEncryptionDictionary(bool checked, const std::string& password,
                                                         const std::string& verify) {
  if (!checked || EncryptionRequestProblem(checked, password, verify)) return std::nullopt;
  return EncryptionOptions{password};
}

Result SaveAsPDFFileOfSelectedDict(const SaveRequest& request, const CancelFlag* cancel,
                                   SaveNotes* notes) {
  Result failure;
  const auto drawn = StagedFile::Create(request.destination, failure);
  if (!drawn) return failure;
  const auto marks = request.marks ? request.marks : std::make_shared<DrawnMarks>(request.settings);
  const WriteRequest write = WriteRequestFor(request, marks);
  WrittenDocument written;
  const Result outcome = WriteWatermarkedDocument(write, *drawn, cancel, &written);
  if (!outcome.ok()) return outcome;
  if (notes) *notes = {written.markedPages, written.unmarkedPages, written.leftInPlace};
  if (request.filter) {
    Result filterOutcome = Result::Ok();
    const auto filtered = MarkFilteredCopy(request, marks, written, cancel, filterOutcome);
    if (filterOutcome.cancelled()) return filterOutcome;
    if (filtered && SizeOf(*filtered) < SizeOf(*drawn)) return filtered->Deliver();
  }
  if (IsCancelled(cancel)) return Result::Cancelled();
  return drawn->Deliver();
}

}  // namespace quillsheet
