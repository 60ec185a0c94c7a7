// Writes the sample document the demo converts: a short letter of three
// pages, two portrait and one landscape, with real (selectable) text. With a
// page count it writes that many letter pages instead (for benchmarks).
//   quillsheet-make-sample resources/samples/sample.pdf
//   quillsheet-make-sample big.pdf 500
#include <cairo-pdf.h>
#include <cairo.h>

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
  LetterPage(cr, "Quarterly report", 1);
  cairo_show_page(cr);
  LetterPage(cr, "Findings", 2);
  cairo_show_page(cr);
  cairo_pdf_surface_set_size(surface, 792, 612);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 28);
  cairo_move_to(cr, 72, 120);
  cairo_show_text(cr, "Appendix: a landscape page");
  cairo_set_source_rgb(cr, 0.2, 0.4, 0.7);
  for (int bar = 0; bar < 8; ++bar) {
    cairo_rectangle(cr, 100 + bar * 75, 520 - bar * 40, 50, bar * 40 + 20);
  }
  cairo_fill(cr);
  cairo_show_page(cr);
  return Finish(surface, cr);
}
