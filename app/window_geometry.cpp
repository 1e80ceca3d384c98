#include "app/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace tessaly::app {
namespace {

enum StoredState { kNormal = 0, kMinimised = 1, kMaximised = 2 };

// One axis of a stored window: the length held between the least and the room, and the
// start moved into the room when `move` is true.
struct Span {
  int start;
  int length;
};

Span fitSpan(std::int64_t start, std::int64_t length, int least, int first, int room, bool move) {
  const std::int64_t fitted = std::clamp<std::int64_t>(length, least, std::max(least, room));
  const std::int64_t last = first + std::max<std::int64_t>(room - fitted, 0);
  if (move) start = std::clamp<std::int64_t>(start, first, last);
  return {static_cast<int>(start), static_cast<int>(fitted)};
}

// The frame's extra size around the client area (none before the window is shown).
QSize frameExtra(const QWidget& window) {
  return window.frameGeometry().size() - window.geometry().size();
}

QScreen* screenFor(const QWidget& window, const Geometry& g) {
  const std::int64_t x = std::int64_t{g.left} + g.width / 2;
  const std::int64_t y = std::int64_t{g.top} + g.height / 2;
  const auto inInt = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  QScreen* screen = QGuiApplication::screenAt(QPoint(inInt(x), inInt(y)));
  return screen ? screen : window.screen();
}

}  // namespace

QRect fitToScreen(const Geometry& g, QSize minimum, QRect available, QRect view) {
  const std::int64_t right = std::int64_t{g.left} + g.width;
  const std::int64_t bottom = std::int64_t{g.top} + g.height;
  const bool inView = g.width > 0 && g.height > 0 && g.left >= view.left() && g.top >= view.top() &&
                      right <= std::int64_t{view.right()} + 1 &&
                      bottom <= std::int64_t{view.bottom()} + 1;
  const Span x =
      fitSpan(g.left, g.width, minimum.width(), available.left(), available.width(), !inView);
  const Span y =
      fitSpan(g.top, g.height, minimum.height(), available.top(), available.height(), !inView);
  return {x.start, y.start, x.length, y.length};
}

void applyWindowRecord(QWidget& window, const Geometry& g) {
  const Qt::WindowStates others = window.windowState() & ~Qt::WindowMaximized;
  if (window.isMaximized() && g.windowState != kMaximised) window.setWindowState(others);
  if (!window.isMaximized()) {
    const QSize extra = frameExtra(window);
    const QScreen* screen = screenFor(window, g);
    const QRect outer = fitToScreen(g, window.minimumSize() + extra, screen->availableGeometry(),
                                    screen->availableVirtualGeometry());
    window.move(outer.topLeft());
    window.resize(outer.size() - extra);
  }
  // A stored minimised state is not applied: the activation that applies it means the
  // operator has just brought the window up, and minimising it would keep it out of reach.
  if (g.windowState == kMaximised) window.setWindowState(others | Qt::WindowMaximized);
}

void captureWindowRecord(const QWidget& window, Geometry& g) {
  g.windowState = window.isMaximized() ? kMaximised : window.isMinimized() ? kMinimised : kNormal;
  if (g.windowState == kMaximised) return;
  const QRect outer = window.frameGeometry();
  g = {outer.top(), outer.left(), outer.width(), outer.height(), g.windowState};
}

}  // namespace tessaly::app
