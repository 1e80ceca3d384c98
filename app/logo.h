// imLogo's picture: a small disc with "HD DVD" lettering, drawn for this tool.
#pragma once

#include <QIcon>
#include <QPalette>
#include <QRectF>
#include <QWidget>

namespace tessaly::app {

// Paints the logo into `area` of any paint device, at the device's own resolution: the
// disc in a square at the left and, when the area is wider than two squares, the lettering
// fitted into the rest; otherwise the disc alone, centred. The lettering takes its colours
// from the palette: dark ink on a light window colour, light ink on a dark one. Nothing
// else is painted, so the device's background shows around the logo.
void paintLogo(QPaintDevice& device, const QRectF& area, const QPalette& palette);

// imLogo: the logo at the control's size, painted afresh at every paint, so it is sharp
// at any pixel ratio and follows palette changes.
class LogoImage : public QWidget {
 public:
  explicit LogoImage(QWidget* parent) : QWidget(parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Paints the program's icon on any paint device (pixmap, PNG, SVG): the logo's disc
// filling a square of the given side, with the lettering across its lower half.
void paintIcon(QPaintDevice& device, qreal side);

// The window's icon, painted as the installed icon files are.
QIcon drawIcon();

}  // namespace tessaly::app
