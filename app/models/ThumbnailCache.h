// Thumbnails already drawn, so that going back to a document shows its pages
// at once instead of drawing them again. Main thread only.
#pragma once

#include <QCache>
#include <QImage>
#include <memory>

#include "engine/SourceDocument.h"

namespace quillsheet {

class ThumbnailCache {
 public:
  // Holds pictures up to budgetBytes, dropping the least recently used.
  explicit ThumbnailCache(qsizetype budgetBytes = qsizetype{64} << 20);

  // The picture of a page drawn at exactly size pixels; null when there is
  // none, or when the document it was drawn from is gone (another document
  // may live at the same address since).
  QImage Find(const std::shared_ptr<SourceDocument>& document, int page, QSize size);
  void Insert(const std::shared_ptr<SourceDocument>& document, int page, QSize size,
              const QImage& image);

 private:
  struct Key {
    const SourceDocument* document;
    int page;
    int width;
    int height;
    bool operator==(const Key&) const = default;
    friend size_t qHash(const Key& key, size_t seed) {
      return qHashMulti(seed, key.document, key.page, key.width, key.height);
    }
  };
  struct Entry {
    std::weak_ptr<SourceDocument> document;
    QImage image;
  };

  QCache<Key, Entry> pictures_;
};

}  // namespace quillsheet
