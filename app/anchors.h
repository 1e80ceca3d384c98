// Anchored placement of child widgets: each keeps its designed distance to the edges
// it is anchored to when its parent is resized.
#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace tessaly::app {

enum Anchor : unsigned {
  akLeft = 1,
  akTop = 2,
  akRight = 4,
  akBottom = 8,
  akTopLeft = akLeft | akTop,
  akTopRight = akTop | akRight,
  akAll = akLeft | akTop | akRight | akBottom,
};

class AnchorLayout {
 public:
  // `design` is the parent's client size for which the designed rectangles are given.
  explicit AnchorLayout(QSize design) : design_(design) {}

  // Places the widget at its designed rectangle and keeps it anchored from now on.
  void place(QWidget* widget, QRect designed, unsigned anchors);
  // Moves and stretches every placed widget for the parent's new client size.
  void fit(QSize client) const;

 private:
  struct Item {
    QWidget* widget;
    QRect designed;
    unsigned anchors;
  };

  std::vector<Item> items_;
  QSize design_;
};

}  // namespace tessaly::app
