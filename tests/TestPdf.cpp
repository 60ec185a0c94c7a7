#include "tests/TestPdf.h"

#include <fstream>
#include <sstream>

namespace quillsheet::test {

std::filesystem::path WriteTestPdf(const std::filesystem::path& path,
                                   const std::vector<TestPage>& pages) {
  std::vector<std::string> objects;
  std::string kids;
  const size_t firstPage = 3;
  for (size_t i = 0; i < pages.size(); ++i) {
    kids += std::to_string(firstPage + 2 * i) + " 0 R ";
  }
  objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
  objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) +
                    " >>");
  for (size_t i = 0; i < pages.size(); ++i) {
    const TestPage& page = pages[i];
    std::ostringstream dictionary;
    dictionary << "<< /Type /Page /Parent 2 0 R";
    if (page.mediaBox) dictionary << " /MediaBox [0 0 " << page.width << " " << page.height << "]";
    if (!page.cropBox.empty()) dictionary << " /CropBox [" << page.cropBox << "]";
    if (page.rotate) dictionary << " /Rotate " << page.rotate;
    dictionary << " /Contents " << firstPage + 2 * i + 1 << " 0 R >>";
    objects.push_back(dictionary.str());
    objects.push_back("<< /Length " + std::to_string(page.content.size()) + " >>\nstream\n" +
                      page.content + "\nendstream");
  }
  std::string file = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(file.size());
    file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const size_t xref = file.size();
  file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) {
    char line[32];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
    file += line;
  }
  file += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
          " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  std::ofstream(path, std::ios::binary) << file;
  return path;
}

}  // namespace quillsheet::test
