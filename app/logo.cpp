#include "app/logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace tessaly::app {
namespace {

constexpr int kDarkWindow = 128;  // a window colour below this lightness takes light ink

// A silver disc with a rainbow sheen, its centre hole left unpainted, filling a square.
void drawDisc(QPainter& p, const QRectF& square) {
  QRadialGradient sheen(square.center(), square.width() / 2);
  sheen.setColorAt(0.15, QColor(250, 250, 250));
  sheen.setColorAt(0.55, QColor(180, 200, 235));
  sheen.setColorAt(0.8, QColor(235, 200, 225));
  sheen.setColorAt(1.0, QColor(150, 150, 165));
  QPainterPath ring;
  ring.setFillRule(Qt::OddEvenFill);
  ring.addEllipse(square.adjusted(0.5, 0.5, -0.5, -0.5));
  const qreal hole = square.width() / 10;
  ring.addEllipse(square.center(), hole, hole);
  p.setPen(QPen(QColor(90, 90, 110), 1));
  p.setBrush(sheen);
  p.drawPath(ring);
}

// "HD DVD" in bold italic capitals, as outlines scaled to fill the box without leaving
// it, shaded from blue to red in the ink that stands out on the window colour.
void drawLettering(QPainter& p, const QRectF& box, const QPalette& palette) {
  QFont font("Sans Serif");
  font.setBold(true);
  font.setItalic(true);
  font.setPixelSize(100);  // outlines are scaled below
  QPainterPath text;
  text.addText(0, 0, font, QStringLiteral("HD DVD"));
  const QRectF bounds = text.boundingRect();
  const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
  QTransform fit;
  fit.translate(box.center().x(), box.center().y());
  fit.scale(scale, scale);
  fit.translate(-bounds.center().x(), -bounds.center().y());
  const bool dark = palette.color(QPalette::Window).lightness() < kDarkWindow;
  QLinearGradient ink(box.topLeft(), box.bottomRight());
  ink.setColorAt(0, dark ? QColor(150, 185, 255) : QColor(20, 40, 120));
  ink.setColorAt(1, dark ? QColor(255, 150, 160) : QColor(140, 20, 30));
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawPath(fit.map(text));
}

}  // namespace

void paintLogo(QPaintDevice& device, const QRectF& area, const QPalette& palette) {
  QPainter p(&device);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal side = std::min(area.width(), area.height());
  if (area.width() < 2 * side) {
    drawDisc(p, QRectF(area.center() - QPointF(side / 2, side / 2), QSizeF(side, side)));
    return;
  }
  drawDisc(p, QRectF(area.topLeft(), QSizeF(side, side)));
  const qreal gap = side / 10;
  drawLettering(p,
                QRectF(area.left() + side + gap, area.top() + gap, area.width() - side - 2 * gap,
                       side - 2 * gap),
                palette);
}

void LogoImage::paintEvent(QPaintEvent*) {
  paintLogo(*this, rect(), palette());
}

void paintIcon(QPaintDevice& device, qreal side) {
  QPainter p(&device);
  p.setRenderHint(QPainter::Antialiasing);
  drawDisc(p, QRectF(0, 0, side, side));
  const QPalette onDisc(Qt::white);  // the silver disc takes the ink of a light window
  drawLettering(p, QRectF(side * 0.17, side * 0.62, side * 0.66, side * 0.17), onDisc);
}

QIcon drawIcon() {
  constexpr int kSide = 256;  // the largest size a desktop asks for; smaller ones scale
  QPixmap icon(kSide, kSide);
  icon.fill(Qt::transparent);
  paintIcon(icon, kSide);
  return QIcon(icon);
}

}  // namespace tessaly::app
