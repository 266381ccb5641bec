// Drops of HTML from other programs into the editor's view. The engine would
// insert them itself, office markup and the style sheet's rules included, so
// they go to the control's own insertion instead; drags inside the page and
// drops of plain text stay with the engine.
#pragma once

#include <QObject>
#include <QPointF>
#include <functional>

class QMimeData;
class QWebEngineView;

class HtmlDropFilter : public QObject {
 public:
  // Takes a drop of `mime` at `at` (in the view's pixels); answers whether it
  // went into the page.
  using DropHandler = std::function<bool(const QPointF& at, const QMimeData& mime)>;
  // Watches the view, which takes the drags for the widget that draws its
  // page; drags that start in `owner` come from the page itself.
  HtmlDropFilter(QWebEngineView* view, const QObject* owner, DropHandler handler);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWebEngineView* view;
  const QObject* owner;
  DropHandler handler;
};
