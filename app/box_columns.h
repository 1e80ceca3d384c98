// The stream boxes of a page: two columns of eight at their designed places. A column
// widens to the widest caption it holds, the right column moving over to make room, as far
// as the page reaches; where the page cannot hold both, the wider column is cut (its boxes'
// tooltips then show their captions whole).
#pragma once

#include <QLayout>
#include <QList>
#include <QRect>

namespace tessaly::app {

// Box `index`'s designed place: columns at x = 9 and 165, eight rows, each box 140 x 17.
QRect designedBoxPlace(int index);

// The two columns in a page: the left one's width, the right one's start and width.
struct ColumnPlaces {
  int leftWidth;
  int rightX;
  int rightWidth;
};

// Places two columns whose widest boxes need `leftNeed` and `rightNeed` pixels in a page
// `pageWidth` wide.
ColumnPlaces placeColumns(int leftNeed, int rightNeed, int pageWidth);

class BoxColumns : public QLayout {
 public:
  // Lays out `page`'s boxes, added in their order (the first eight on the left).
  explicit BoxColumns(QWidget* page) : QLayout(page) {}
  ~BoxColumns() override;
  BoxColumns(const BoxColumns&) = delete;
  BoxColumns& operator=(const BoxColumns&) = delete;

  void addItem(QLayoutItem* item) override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // The widest box of column 0 or 1.
  int columnNeed(int column) const;

  QList<QLayoutItem*> items_;
};

}  // namespace tessaly::app
