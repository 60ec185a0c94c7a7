#include "output/UnmarkedSource.h"

#include <qpdf/QPDF.hh>

#include "output/MarkDocument.h"
#include "output/MarkTag.h"

namespace quillsheet {

std::unique_ptr<SourceDocument> OpenWithoutEarlierMarks(const std::string& path,
                                                        const std::string& password) {
  std::string bytes;
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str(), password.c_str());
    if (RemoveTaggedMarks(pdf).pages == 0) return nullptr;
    bytes = PdfBytes(pdf);
  } catch (const std::exception&) {
    return nullptr;
  }
  return SourceDocument::OpenBytes(std::move(bytes));
}

}  // namespace quillsheet
