// Writes the sample document the demo converts: four pages of real
// (selectable) text, one landscape and one turned by /Rotate, with an
// outline and a link to the appendix. With a page count it writes that many
// plain letter pages instead (for benchmarks).
//   quillsheet-make-sample resources/samples/sample.pdf
//   quillsheet-make-sample big.pdf 500
#include <cairo-pdf.h>
#include <cairo.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Paragraph(cairo_t* cr, double x, double& y, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, line.c_str());
    y += 16;
  }
  y += 10;
}

void LetterPage(cairo_t* cr, const char* heading, int number) {
  cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 20);
  cairo_move_to(cr, 72, 96);
  cairo_show_text(cr, heading);
  cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11);
  double y = 140;
  for (int i = 0; i < 6; ++i) {
    Paragraph(cr, 72, y,
              {"Quillsheet stamps watermarks onto PDF files, many at a time. This page is",
               "part of the sample that the demo converts: the text stays selectable, the",
               "page keeps its size, and the watermark is drawn in front of or behind it.",
               "Each paragraph repeats so that a tiled watermark has something to cover."});
  }
  char footer[32];
  std::snprintf(footer, sizeof footer, "Page %d", number);
  cairo_move_to(cr, 72, 760);
  cairo_show_text(cr, footer);
}

// Turns the last page by 90 degrees, as a scanner might leave it.
bool RotateLastPage(const char* file) {
  QPDF pdf;
  pdf.processFile(file);
  auto pages = QPDFPageDocumentHelper(pdf).getAllPages();
  pages.back().getObjectHandle().replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
  const std::string temporary = std::string(file) + ".tmp";
  QPDFWriter writer(pdf, temporary.c_str());
  writer.setDeterministicID(true);
  writer.write();
  return std::rename(temporary.c_str(), file) == 0;
}

int Finish(cairo_surface_t* surface, cairo_t* cr) {
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: quillsheet-make-sample FILE.pdf [PAGES]\n");
    return 2;
  }
  cairo_surface_t* surface = cairo_pdf_surface_create(argv[1], 612, 792);
  cairo_t* cr = cairo_create(surface);
  if (argc == 3) {
    const int pages = std::max(1, std::atoi(argv[2]));
    for (int page = 1; page <= pages; ++page) {
      LetterPage(cr, "Report", page);
      cairo_show_page(cr);
    }
    return Finish(surface, cr);
  }
  cairo_pdf_surface_add_outline(surface, CAIRO_PDF_OUTLINE_ROOT, "Quarterly report",
                                "page=1 pos=[0 0]", CAIRO_PDF_OUTLINE_FLAG_OPEN);
  LetterPage(cr, "Quarterly report", 1);
  // A named destination: cairo resolves it once the appendix page exists.
  cairo_tag_begin(cr, CAIRO_TAG_LINK, "dest='appendix'");
  cairo_move_to(cr, 72, 720);
  cairo_show_text(cr, "See the appendix for the figures.");
  cairo_tag_end(cr, CAIRO_TAG_LINK);
  cairo_show_page(cr);
  cairo_pdf_surface_add_outline(surface, CAIRO_PDF_OUTLINE_ROOT, "Findings", "page=2 pos=[0 0]",
                                static_cast<cairo_pdf_outline_flags_t>(0));
  LetterPage(cr, "Findings", 2);
  cairo_show_page(cr);
  cairo_pdf_surface_add_outline(surface, CAIRO_PDF_OUTLINE_ROOT, "Appendix", "page=3 pos=[0 0]",
                                static_cast<cairo_pdf_outline_flags_t>(0));
  cairo_pdf_surface_set_size(surface, 792, 612);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 28);
  cairo_tag_begin(cr, CAIRO_TAG_DEST, "name='appendix' x=72 y=72");
  cairo_move_to(cr, 72, 120);
  cairo_show_text(cr, "Appendix: a landscape page");
  cairo_tag_end(cr, CAIRO_TAG_DEST);
  cairo_set_source_rgb(cr, 0.2, 0.4, 0.7);
  for (int bar = 0; bar < 8; ++bar) {
    cairo_rectangle(cr, 100 + bar * 75, 520 - bar * 40, 50, bar * 40 + 20);
  }
  cairo_fill(cr);
  cairo_show_page(cr);
  cairo_pdf_surface_set_size(surface, 612, 792);
  cairo_set_source_rgb(cr, 0, 0, 0);
  LetterPage(cr, "Scanned page (turned)", 4);
  cairo_show_page(cr);
  const int status = Finish(surface, cr);
  return status == 0 && RotateLastPage(argv[1]) ? 0 : 1;
}
