#include "app/box_columns.h"

#include <QWidget>
#include <algorithm>

namespace tessaly::app {
namespace {

constexpr int kBoxColumns[] = {9, 165};
constexpr int kBoxRows[] = {9, 31, 53, 75, 98, 120, 142, 165};
constexpr int kBoxesPerColumn = 8;
constexpr int kBoxWidth = 140;
constexpr int kBoxHeight = 17;
constexpr int kColumnGap = kBoxColumns[1] - kBoxColumns[0] - kBoxWidth;  // 16, as designed
constexpr int kLeastGap = 4;
constexpr int kRightMargin = 4;  // the least room kept right of the right column

}  // namespace

QRect designedBoxPlace(int index) {
  return {kBoxColumns[index / kBoxesPerColumn], kBoxRows[index % kBoxesPerColumn], kBoxWidth,
          kBoxHeight};
}

ColumnPlaces placeColumns(int leftNeed, int rightNeed, int pageWidth) {
  const int room = pageWidth - kBoxColumns[0] - kRightMargin;  // both columns and their gap
  int left = std::max(leftNeed, kBoxWidth);
  int right = rightNeed;
  if (left + kLeastGap + right > room) {  // the wider column takes what the other leaves it
    const int half = (room - kLeastGap) / 2;
    if (left >= right) {
      right = std::min(right, half);
      left = room - kLeastGap - right;
    } else {
      left = std::max(std::min(left, half), kBoxWidth);
      right = room - kLeastGap - left;
    }
  }
  const int gap = std::clamp(room - left - right, kLeastGap, kColumnGap);
  const int rightX = std::max(kBoxColumns[1], kBoxColumns[0] + left + gap);
  // The right column keeps its designed width where the page has it.
  const int rightWidth = std::max(right, std::min(kBoxWidth, kBoxColumns[0] + room - rightX));
  return {left, rightX, rightWidth};
}

BoxColumns::~BoxColumns() {
  qDeleteAll(items_);
}

void BoxColumns::addItem(QLayoutItem* item) {
  items_.append(item);
}

QLayoutItem* BoxColumns::itemAt(int index) const {
  return items_.value(index);
}

QLayoutItem* BoxColumns::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

// Both columns whole, at the designed gap.
QSize BoxColumns::sizeHint() const {
  const ColumnPlaces places = placeColumns(columnNeed(0), columnNeed(1), QWIDGETSIZE_MAX / 2);
  return {places.rightX + places.rightWidth + kBoxColumns[0],
          kBoxRows[kBoxesPerColumn - 1] + kBoxHeight + kBoxRows[0]};
}

void BoxColumns::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  const ColumnPlaces places = placeColumns(columnNeed(0), columnNeed(1), rect.width());
  for (int n = 0; n < count(); ++n) {
    const bool left = n < kBoxesPerColumn;
    const int x = left ? kBoxColumns[0] : places.rightX;
    const int width = left ? places.leftWidth : places.rightWidth;
    items_[n]->setGeometry(
        QRect(rect.x() + x, rect.y() + kBoxRows[n % kBoxesPerColumn], width, kBoxHeight));
  }
}

int BoxColumns::columnNeed(int column) const {
  int need = 0;
  const int first = column * kBoxesPerColumn;
  for (int n = first; n < std::min(first + kBoxesPerColumn, count()); ++n) {
    need = std::max(need, items_[n]->sizeHint().width());
  }
  return need;
}

}  // namespace tessaly::app
