#include "app/anchors.h"

#include <QWidget>

namespace tessaly::app {
namespace {

struct Span {
  int start;
  int length;
};

// One axis of an anchored rectangle: anchored at both ends it stretches, at the far
// end only it moves, at neither it keeps its relative position (moves by half).
Span fitSpan(Span designed, int growth, bool nearEnd, bool farEnd) {
  if (nearEnd && farEnd) return {designed.start, designed.length + growth};
  if (farEnd) return {designed.start + growth, designed.length};
  if (nearEnd) return designed;
  return {designed.start + growth / 2, designed.length};
}

}  // namespace

void AnchorLayout::place(QWidget* widget, QRect designed, unsigned anchors) {
  widget->setGeometry(designed);
  items_.push_back({widget, designed, anchors});
}

void AnchorLayout::fit(QSize client) const {
  const int dx = client.width() - design_.width();
  const int dy = client.height() - design_.height();
  for (const Item& item : items_) {
    const QRect& r = item.designed;
    const Span x = fitSpan({r.x(), r.width()}, dx, item.anchors & akLeft, item.anchors & akRight);
    const Span y = fitSpan({r.y(), r.height()}, dy, item.anchors & akTop, item.anchors & akBottom);
    item.widget->setGeometry(x.start, y.start, x.length, y.length);
  }
}

}  // namespace tessaly::app
