// tessaly-icon SVG PNG: writes the program's icon, painted by the window's logo code, as
// a scalable SVG file and a 256 px PNG file for the desktop's icon theme (run at build time).
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSvgGenerator>
#include <cstdio>

#include "app/logo.h"

namespace {

constexpr int kSide = 256;

bool writeSvg(const QString& path) {
  QFile::remove(path);  // the generator reports no write error: a new file is the proof
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(QSize(kSide, kSide));
  svg.setViewBox(QRect(0, 0, kSide, kSide));
  svg.setTitle("HD DVD Tessaly");
  tessaly::app::paintIcon(svg, kSide);
  return QFileInfo(path).size() > 0;
}

bool writePng(const QString& path) {
  QImage png(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  png.fill(Qt::transparent);
  tessaly::app::paintIcon(png, kSide);
  return png.save(path, "PNG");
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // the fonts without a display
  QGuiApplication application(argc, argv);
  if (argc != 3) {
    std::fputs("Usage: tessaly-icon SVG PNG\n", stderr);
    return 2;
  }
  if (!writeSvg(argv[1]) || !writePng(argv[2])) {
    std::fprintf(stderr, "tessaly-icon: cannot write %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
