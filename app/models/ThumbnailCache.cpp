#include "app/models/ThumbnailCache.h"

namespace quillsheet {

ThumbnailCache::ThumbnailCache(qsizetype budgetBytes) : pictures_(budgetBytes) {}

QImage ThumbnailCache::Find(const std::shared_ptr<SourceDocument>& document, int page, QSize size) {
  const Entry* entry = pictures_.object({document.get(), page, size.width(), size.height()});
  if (!entry || entry->document.lock() != document) return {};
  return entry->image;
}

void ThumbnailCache::Insert(const std::shared_ptr<SourceDocument>& document, int page, QSize size,
                            const QImage& image) {
  pictures_.insert({document.get(), page, size.width(), size.height()}, new Entry{document, image},
                   std::max<qsizetype>(1, image.sizeInBytes()));
}

}  // namespace quillsheet
