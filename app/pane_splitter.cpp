#include "app/pane_splitter.h"

#include <QResizeEvent>
#include <algorithm>

namespace tessaly::app {

PaneSplitter::PaneSplitter(QWidget* parent, int minimumPane)
    : QSplitter(Qt::Horizontal, parent), minimumPane_(minimumPane) {
  setChildrenCollapsible(false);
}

void PaneSplitter::addPane(QWidget* pane) {
  pane->setMinimumWidth(minimumPane_);
  addWidget(pane);
}

void PaneSplitter::setFirstPaneWidth(int width) {
  pending_ = std::max(width, minimumPane_);
  if (isVisible()) applyPending();
}

int PaneSplitter::firstPaneWidth() const {
  return pending_ >= 0 ? pending_ : sizes().value(0);
}

void PaneSplitter::resizeEvent(QResizeEvent* event) {
  QSplitter::resizeEvent(event);
  if (pending_ >= 0) applyPending();
}

// QSplitter scales a list that does not add up to its width, so the second pane is
// given exactly what the first one leaves.
void PaneSplitter::applyPending() {
  if (count() < 2) return;
  const int room = width() - handleWidth();
  const int first = std::max(std::min(pending_, room - minimumPane_), minimumPane_);
  setSizes({first, room - first});
  pending_ = -1;
}

}  // namespace tessaly::app
