#include "output/UnmarkedSource.h"

#include <qpdf/Buffer.hh>
#include <qpdf/Pl_Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include "output/MarkTag.h"

namespace quillsheet {

std::unique_ptr<SourceDocument> OpenWithoutEarlierMarks(const std::string& path,
                                                        const std::string& password) {
  std::string bytes;
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str(), password.c_str());
    if (RemoveTaggedMarks(pdf) == 0) return nullptr;
    Pl_Buffer buffer("unmarked source");
    QPDFWriter writer(pdf);
    writer.setOutputPipeline(&buffer);
    writer.setPreserveEncryption(false);
    writer.write();
    std::unique_ptr<Buffer> written(buffer.getBuffer());
    bytes.assign(reinterpret_cast<const char*>(written->getBuffer()), written->getSize());
  } catch (const std::exception&) {
    return nullptr;
  }
  return SourceDocument::OpenBytes(std::move(bytes));
}

}  // namespace quillsheet
