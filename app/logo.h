// imLogo's picture: a small disc with "HD DVD" lettering, drawn for this tool.
#pragma once

#include <QPixmap>
#include <QSize>

namespace tessaly::app {

// Draws the logo on a transparent background at the given size.
QPixmap drawLogo(QSize size);

}  // namespace tessaly::app
