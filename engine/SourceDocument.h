// A source PDF opened for drawing its pages (poppler). One instance per
// thread: a document is not shared between threads.
#pragma once

#include <memory>
#include <string>

#include "engine/Canvas.h"
#include "engine/Geometry.h"

typedef struct _PopplerDocument PopplerDocument;
typedef struct _PopplerPage PopplerPage;

namespace quillsheet {

enum class OpenError { None, Missing, NotPdf, NeedsPassword };

// Why a document that opened cannot be used: its repair left no page.
inline constexpr const char* kNoPagesRecovered =
    "damaged beyond repair: no pages could be recovered";

class SourcePage {
 public:
  ~SourcePage();
  SourcePage(SourcePage&&) noexcept;
  SourcePage(const SourcePage&) = delete;
  SourcePage& operator=(const SourcePage&) = delete;

  // The page box rectangle's size: the crop box as displayed, its sides
  // swapped for pages turned by 90 or 270 degrees.
  SizeF DisplayedSize() const;

  // Draws the page upright, filling the page box rectangle of page space
  // (annotations included, as a viewer shows them).
  void Draw(Canvas& canvas, const RectF& pageBox) const;

 private:
  friend class SourceDocument;
  explicit SourcePage(PopplerPage* page) : page_(page) {}
  PopplerPage* page_;
};

class SourceDocument {
 public:
  // Opens a file, unlocking it with the password when it is encrypted. On
  // failure no document, with the kind of failure and a message for people.
  static std::unique_ptr<SourceDocument> Open(const std::string& path, const std::string& password,
                                              OpenError& error, std::string& message);
  // Opens a PDF file held in memory (not encrypted); the document keeps the
  // bytes. No document when poppler cannot read them.
  static std::unique_ptr<SourceDocument> OpenBytes(std::string bytes);
  ~SourceDocument();
  SourceDocument(const SourceDocument&) = delete;
  SourceDocument& operator=(const SourceDocument&) = delete;

  int PageCount() const;
  // Whether the document, as it was unlocked, allows printing (at any
  // resolution). Opening with the owner password allows everything.
  bool AllowsPrinting() const;
  SourcePage Page(int index) const;  // 0-based, index < PageCount()
  // The page's label as a reader shows it ("iv", "A-3"); its number when the
  // document gives none.
  std::string PageLabel(int index) const;

 private:
  explicit SourceDocument(PopplerDocument* document) : document_(document) {}
  PopplerDocument* document_;
};

}  // namespace quillsheet
