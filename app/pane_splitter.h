// splXPL: the tree on the left at a set width, the memo taking the rest.
#pragma once

#include <QSplitter>

namespace tessaly::app {

class PaneSplitter : public QSplitter {
 public:
  // `minimumPane` is the least width either side may be dragged to.
  PaneSplitter(QWidget* parent, int minimumPane);

  // Adds a pane that cannot be dragged narrower than the minimum.
  void addPane(QWidget* pane);
  // Gives the first pane this width, held where both panes keep their minimum; a
  // splitter not laid out yet takes it when it is.
  void setFirstPaneWidth(int width);
  // The first pane's width, or the width it is about to take.
  int firstPaneWidth() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void applyPending();

  int minimumPane_;
  int pending_ = -1;
};

}  // namespace tessaly::app
