#include "app/status_panels.h"

#include <QFontMetrics>
#include <QLabel>

namespace tessaly::app {
namespace {

constexpr int kStartWidths[] = {40, 50};  // panel widths before the first slog

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
  setObjectName("StatusBar");
  const StatusBar start;
  for (int n = 0; n < 2; ++n) {
    auto* label = new QLabel(QString::fromStdString(start.panels.at(static_cast<unsigned>(n))));
    label->setObjectName(QStringLiteral("panel%1").arg(n));
    label->setTextFormat(Qt::PlainText);
    panels_.at(static_cast<unsigned>(n)) = label;
  }
  panels_[0]->setFixedWidth(kStartWidths[0]);
  panels_[1]->setMinimumWidth(kStartWidths[1]);
  addWidget(panels_[0]);
  addWidget(panels_[1], 1);  // the last panel reaches the bar's right end
  setToolTip(QString::fromStdString(start.hint));
}

void StatusPanels::showPanel(const StatusBar& record, int index) {
  const QString text = QString::fromStdString(record.panels.at(static_cast<unsigned>(index)));
  QLabel* label = panel(index);
  label->setText(text);
  const int width = QFontMetrics(font()).horizontalAdvance(text + "a");
  if (index == 0) {
    label->setFixedWidth(width);
  } else {
    label->setMinimumWidth(width);
  }
  setToolTip(QString::fromStdString(record.hint));
  if (!pace_.due()) return update();
  repaint();
  pace_.painted();
}

void StatusPanels::showChanges(const StatusBar& record) {
  for (int n = 0; n < 2; ++n) {
    if (panel(n)->text().toStdString() != record.panels.at(static_cast<unsigned>(n))) {
      showPanel(record, n);
    }
  }
  setToolTip(QString::fromStdString(record.hint));
}

}  // namespace tessaly::app
