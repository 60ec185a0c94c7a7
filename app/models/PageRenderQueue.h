// Renders pages off the main thread: the preview and the thumbnails ask for
// pictures here and get them back through Rendered, on the thread that owns
// the queue. Each request fills a slot ("the preview", "thumbnail 3"); a
// newer request for a slot replaces one that has not started, so the newest
// wins and the window never waits. One worker thread draws, so a document is
// never used by two threads at once.
#pragma once

#include <QImage>
#include <QObject>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/PreviewRenderer.h"
#include "engine/SourceDocument.h"
#include "engine/TextFields.h"
#include "engine/WatermarkSettings.h"
#include "output/PageSelection.h"

namespace quillsheet {

class PageRenderQueue : public QObject {
  Q_OBJECT

 public:
  struct Request {
    int slot = 0;
    int generation = 0;  // given back with the picture, to tell stale ones
    std::shared_ptr<SourceDocument> document;
    int page = 0;                               // 0-based
    QSize fit;                                  // the page is scaled to fit, in pixels
    std::optional<WatermarkSettings> settings;  // none: the page alone
    // For a text with fields, the values besides the page's own (which the
    // worker fills in); fields without a value show as written.
    FieldValues fields;
    // The page selection of a conversion: a page it leaves out is drawn
    // without the layers, as the output will have it.
    int selectionTag = kAllPages;
    std::string rangeText = {};
  };

  explicit PageRenderQueue(QObject* parent = nullptr);
  ~PageRenderQueue() override;  // waits for the picture being drawn, drops the rest

  void Render(Request request);
  // Drops the requests that have not started.
  void Clear();

 signals:
  // A null image when the page could not be drawn; pagePoints is the size
  // of the page as displayed, in points (the picture's scale follows);
  // markHidden: the page hides the marked picture's layers behind it;
  // leftOut: the page selection leaves the page unmarked.
  void Rendered(int slot, int generation, const QImage& image, quillsheet::SizeF pagePoints,
                bool markHidden, bool leftOut);
  // Drawing the picture failed (out of memory, a broken page): why.
  void Failed(int slot, int generation, const QString& reason);

 private:
  struct Drawn {
    QImage image;
    SizeF pagePoints;
    bool markHidden = false;
    bool leftOut = false;
  };
  void Work();
  Drawn Draw(const Request& request);  // on the worker

  std::mutex guard_;
  std::condition_variable wake_;
  std::deque<Request> pending_;
  bool stopping_ = false;
  // The worker's page kept for the next marked picture of the same page and
  // size (worker only).
  std::unique_ptr<PreviewFrames> kept_;
  std::weak_ptr<SourceDocument> keptDocument_;
  int keptPage_ = -1;
  QSize keptFit_;
  std::thread worker_;
};

}  // namespace quillsheet
