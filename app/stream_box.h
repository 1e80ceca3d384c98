// A stream check box: its caption shown as it is (never as a mnemonic), and a tooltip
// that starts with the caption whenever the box's present width cuts it.
#pragma once

#include <QCheckBox>
#include <QString>

namespace tessaly::app {

class StreamBox : public QCheckBox {
 public:
  explicit StreamBox(QWidget* parent) : QCheckBox(parent) {}

  // The caption, and what the tooltip tells besides: the stream's facts, or the box's hint
  // when it has none (a hint gives way to a cut caption, the facts follow it).
  void showCaption(const QString& caption, const QString& facts, const QString& hint);
  // The least size that shows the caption whole: the text's width beside the indicator
  // (QCheckBox's own hint adds a margin that the page's columns cannot spare).
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The box's width less its room for the text (the indicator and the margins), and the
  // caption's width.
  int textInset() const;
  int textWidth() const;
  void showTip();

  QString caption_;
  QString facts_;
  QString hint_;
};

}  // namespace tessaly::app
