#include "app/status_panels.h"

#include "app/plain_tip.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace tessaly::app {
namespace {

constexpr int kStartWidths[] = {40, 50};  // panel widths before the first slog

}  // namespace

StatusPanel::StatusPanel() {
  setTextFormat(Qt::PlainText);
}

void StatusPanel::setPanelWidth(int width) {
  panelWidth_ = width;
  updateGeometry();
}

QString StatusPanel::shownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideLeft, contentsRect().width());
}

QSize StatusPanel::sizeHint() const {
  return {panelWidth_, QLabel::sizeHint().height()};
}

QSize StatusPanel::minimumSizeHint() const {
  return {0, QLabel::minimumSizeHint().height()};
}

void StatusPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, palette(),
                        isEnabled(), shownText(), foregroundRole());
}

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
  setObjectName("StatusBar");
  const StatusBar start;
  for (int n = 0; n < 2; ++n) {
    auto* label = new StatusPanel;
    label->setText(QString::fromStdString(start.panels.at(static_cast<unsigned>(n))));
    label->setObjectName(QStringLiteral("panel%1").arg(n));
    label->setPanelWidth(kStartWidths[n]);
    panels_.at(static_cast<unsigned>(n)) = label;
  }
  panels_[0]->setFixedWidth(kStartWidths[0]);
  addWidget(panels_[0]);
  addWidget(panels_[1], 1);  // the last panel reaches the bar's right end
  setToolTip(plainTip(QString::fromStdString(start.hint)));
}

void StatusPanels::showPanel(const StatusBar& record, int index) {
  const QString text = QString::fromStdString(record.panels.at(static_cast<unsigned>(index)));
  StatusPanel* label = panel(index);
  label->setText(text);
  const int width = QFontMetrics(font()).horizontalAdvance(text + "a");
  label->setPanelWidth(width);
  if (index == 0) label->setFixedWidth(width);  // the last panel takes what is left
  setToolTip(plainTip(QString::fromStdString(record.hint)));
  if (pace_.due()) {
    repaint();
    pace_.painted();
  } else {
    update();  // painted with the next report that keeps the pace, or after the handler
  }
}

void StatusPanels::showChanges(const StatusBar& record) {
  for (int n = 0; n < 2; ++n) {
    if (panel(n)->text().toStdString() != record.panels.at(static_cast<unsigned>(n))) {
      showPanel(record, n);
    }
  }
  setToolTip(plainTip(QString::fromStdString(record.hint)));
}

}  // namespace tessaly::app
