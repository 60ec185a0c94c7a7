// Draws the shipped fill patterns: one PNG per pattern and the list "icons"
// that names them, into the folder given on the command line.
//   quillsheet-make-patterns resources/patterns
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 64;

struct Pattern {
  const char* name;
  std::function<void(cairo_t*)> draw;
};

void Rgb(cairo_t* cr, int hex, double alpha = 1.0) {
  cairo_set_source_rgba(cr, ((hex >> 16) & 255) / 255.0, ((hex >> 8) & 255) / 255.0,
                        (hex & 255) / 255.0, alpha);
}

void Dots(cairo_t* cr) {
  Rgb(cr, 0x3d6fb6);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) {
      cairo_arc(cr, 16 + 32 * x, 16 + 32 * y, 7, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
}

void Stripes(cairo_t* cr) {
  Rgb(cr, 0xd9822b);
  cairo_set_line_width(cr, 8);
  for (int i = -1; i <= 2; ++i) {
    cairo_move_to(cr, i * 32 - 32, kSize);
    cairo_line_to(cr, i * 32 + 32, 0);
  }
  cairo_stroke(cr);
}

void Grid(cairo_t* cr) {
  Rgb(cr, 0x4a8c5c);
  cairo_set_line_width(cr, 2);
  for (int i = 0; i < 4; ++i) {
    cairo_move_to(cr, i * 16 + 1, 0);
    cairo_line_to(cr, i * 16 + 1, kSize);
    cairo_move_to(cr, 0, i * 16 + 1);
    cairo_line_to(cr, kSize, i * 16 + 1);
  }
  cairo_stroke(cr);
}

void Checks(cairo_t* cr) {
  Rgb(cr, 0x7a4fa0, 0.8);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      if ((x + y) % 2 == 0) cairo_rectangle(cr, x * 16, y * 16, 16, 16);
    }
  }
  cairo_fill(cr);
}

void Waves(cairo_t* cr) {
  Rgb(cr, 0x2a9bb3);
  cairo_set_line_width(cr, 4);
  for (int row = 0; row < 2; ++row) {
    const double base = 16 + row * 32;
    cairo_move_to(cr, 0, base);
    cairo_curve_to(cr, 16, base - 12, 16, base - 12, 32, base);
    cairo_curve_to(cr, 48, base + 12, 48, base + 12, 64, base);
  }
  cairo_stroke(cr);
}

void Diamonds(cairo_t* cr) {
  Rgb(cr, 0xc23b4b);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) {
      const double cx = 16 + 32 * x;
      const double cy = 16 + 32 * y;
      cairo_move_to(cr, cx, cy - 12);
      cairo_line_to(cr, cx + 9, cy);
      cairo_line_to(cr, cx, cy + 12);
      cairo_line_to(cr, cx - 9, cy);
      cairo_close_path(cr);
    }
  }
  cairo_fill(cr);
}

void Crosshatch(cairo_t* cr) {
  Rgb(cr, 0x555555);
  cairo_set_line_width(cr, 1.5);
  for (int i = -4; i <= 4; ++i) {
    cairo_move_to(cr, i * 16, 0);
    cairo_line_to(cr, i * 16 + kSize, kSize);
    cairo_move_to(cr, i * 16, kSize);
    cairo_line_to(cr, i * 16 + kSize, 0);
  }
  cairo_stroke(cr);
}

void Rings(cairo_t* cr) {
  Rgb(cr, 0xb58a1b);
  cairo_set_line_width(cr, 3);
  cairo_arc(cr, 32, 32, 22, 0, 2 * M_PI);
  cairo_stroke(cr);
  cairo_arc(cr, 32, 32, 10, 0, 2 * M_PI);
  cairo_stroke(cr);
}

void Stars(cairo_t* cr) {
  Rgb(cr, 0xe0a800);
  for (int star = 0; star < 2; ++star) {
    const double cx = 16 + 32 * star;
    const double cy = 16 + 32 * star;
    for (int i = 0; i < 10; ++i) {
      const double radius = i % 2 == 0 ? 13 : 5.5;
      const double angle = -M_PI / 2 + i * M_PI / 5;
      const double x = cx + radius * std::cos(angle);
      const double y = cy + radius * std::sin(angle);
      i == 0 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
  }
  cairo_fill(cr);
}

void Bricks(cairo_t* cr) {
  Rgb(cr, 0xa0522d, 0.85);
  for (int row = 0; row < 4; ++row) {
    const double shift = row % 2 == 0 ? 0 : -16;
    for (int column = 0; column < 3; ++column) {
      cairo_rectangle(cr, shift + column * 32 + 1, row * 16 + 1, 30, 14);
    }
  }
  cairo_fill(cr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillsheet-make-patterns FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const std::vector<Pattern> patterns = {
      {"Dots", Dots},   {"Stripes", Stripes},   {"Grid", Grid},   {"Checks", Checks},
      {"Waves", Waves}, {"Diamonds", Diamonds}, {"Rings", Rings}, {"Crosshatch", Crosshatch},
      {"Stars", Stars}, {"Bricks", Bricks},
  };
  std::ofstream list(folder / "icons.plist");
  list << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<array>\n";
  for (const Pattern& pattern : patterns) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    pattern.draw(cr);
    cairo_destroy(cr);
    const auto file = folder / (std::string(pattern.name) + ".png");
    if (cairo_surface_write_to_png(surface, file.c_str()) != CAIRO_STATUS_SUCCESS) {
      std::fprintf(stderr, "cannot write %s\n", file.c_str());
      return 1;
    }
    cairo_surface_destroy(surface);
    list << "\t<dict>\n\t\t<key>name</key>\n\t\t<string>" << pattern.name
         << "</string>\n\t</dict>\n";
  }
  list << "</array>\n</plist>\n";
  return list.good() ? 0 : 1;
}
