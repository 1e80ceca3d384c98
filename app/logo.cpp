#include "app/logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace tessaly::app {
namespace {

// A silver disc with a rainbow sheen and a centre hole, filling a square.
void drawDisc(QPainter& p, QRectF square) {
  QRadialGradient sheen(square.center(), square.width() / 2);
  sheen.setColorAt(0.15, QColor(250, 250, 250));
  sheen.setColorAt(0.55, QColor(180, 200, 235));
  sheen.setColorAt(0.8, QColor(235, 200, 225));
  sheen.setColorAt(1.0, QColor(150, 150, 165));
  p.setPen(QPen(QColor(90, 90, 110), 1));
  p.setBrush(sheen);
  p.drawEllipse(square.adjusted(0.5, 0.5, -0.5, -0.5));
  const qreal hole = square.width() / 5;
  p.setBrush(Qt::transparent);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.drawEllipse(square.center(), hole / 2, hole / 2);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawEllipse(square.center(), hole / 2, hole / 2);
}

// "HD DVD" in bold capitals, shaded from dark blue to dark red.
void drawLettering(QPainter& p, QRectF box) {
  QFont font("Sans Serif");
  font.setBold(true);
  font.setItalic(true);
  font.setPixelSize(static_cast<int>(box.height() * 0.72));
  p.setFont(font);
  QLinearGradient ink(box.topLeft(), box.bottomRight());
  ink.setColorAt(0, QColor(20, 40, 120));
  ink.setColorAt(1, QColor(140, 20, 30));
  p.setPen(QPen(QBrush(ink), 1));
  p.drawText(box, Qt::AlignCenter, QStringLiteral("HD DVD"));
}

}  // namespace

QPixmap drawLogo(QSize size) {
  QPixmap logo(size);
  logo.fill(Qt::transparent);
  QPainter p(&logo);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal side = size.height();
  drawDisc(p, QRectF(0, 0, side, side));
  drawLettering(p, QRectF(side + 2, 0, size.width() - side - 2, side));
  return logo;
}

}  // namespace tessaly::app
