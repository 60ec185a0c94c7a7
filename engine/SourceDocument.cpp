#include "engine/SourceDocument.h"

#include <poppler.h>

#include <filesystem>

namespace quillsheet {

SourcePage::~SourcePage() {
  if (page_) g_object_unref(page_);
}

SourcePage::SourcePage(SourcePage&& other) noexcept : page_(other.page_) { other.page_ = nullptr; }

SizeF SourcePage::DisplayedSize() const {
  double width = 0;
  double height = 0;
  poppler_page_get_size(page_, &width, &height);
  return {width, height};
}

void SourcePage::Draw(Canvas& canvas, const RectF& pageBox) const {
  const SizeF size = DisplayedSize();
  if (!(size.width > 0 && size.height > 0) || !pageBox.IsFinite()) return;
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  // poppler draws the displayed page top down from the origin.
  cairo_translate(cr, pageBox.x, pageBox.y + pageBox.height);
  cairo_scale(cr, pageBox.width / size.width, -pageBox.height / size.height);
  cairo_rectangle(cr, 0, 0, size.width, size.height);
  cairo_clip(cr);
  poppler_page_render(page_, cr);
  cairo_restore(cr);
}

std::unique_ptr<SourceDocument> SourceDocument::Open(const std::string& path,
                                                     const std::string& password, OpenError& error,
                                                     std::string& message) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    error = OpenError::Missing;
    message = "no such file: " + path;
    return nullptr;
  }
  GError* failure = nullptr;
  gchar* uri = g_filename_to_uri(std::filesystem::absolute(path).c_str(), nullptr, &failure);
  PopplerDocument* document =
      uri ? poppler_document_new_from_file(uri, password.c_str(), &failure) : nullptr;
  g_free(uri);
  if (document) {
    error = OpenError::None;
    return std::unique_ptr<SourceDocument>(new SourceDocument(document));
  }
  const bool encrypted =
      failure && failure->domain == POPPLER_ERROR && failure->code == POPPLER_ERROR_ENCRYPTED;
  error = encrypted ? OpenError::NeedsPassword : OpenError::NotPdf;
  message = encrypted ? (password.empty() ? path + " is protected by a password"
                                          : "wrong password for " + path)
                      : path + " is not a PDF file or is damaged beyond repair";
  if (failure) g_error_free(failure);
  return nullptr;
}

std::unique_ptr<SourceDocument> SourceDocument::OpenBytes(std::string bytes) {
  auto* kept = new std::string(std::move(bytes));
  GBytes* data = g_bytes_new_with_free_func(
      kept->data(), kept->size(), [](gpointer text) { delete static_cast<std::string*>(text); },
      kept);
  GError* failure = nullptr;
  PopplerDocument* document = poppler_document_new_from_bytes(data, nullptr, &failure);
  g_bytes_unref(data);
  if (failure) g_error_free(failure);
  return document ? std::unique_ptr<SourceDocument>(new SourceDocument(document)) : nullptr;
}

SourceDocument::~SourceDocument() { g_object_unref(document_); }

int SourceDocument::PageCount() const { return poppler_document_get_n_pages(document_); }

bool SourceDocument::AllowsPrinting() const {
  return (poppler_document_get_permissions(document_) & POPPLER_PERMISSIONS_OK_TO_PRINT) != 0;
}

SourcePage SourceDocument::Page(int index) const {
  return SourcePage(poppler_document_get_page(document_, index));
}

std::string SourceDocument::PageLabel(int index) const {
  std::string text = std::to_string(index + 1);
  PopplerPage* page = poppler_document_get_page(document_, index);
  if (!page) return text;
  if (gchar* label = poppler_page_get_label(page)) {
    if (*label) text = label;
    g_free(label);
  }
  g_object_unref(page);
  return text;
}

}  // namespace quillsheet
