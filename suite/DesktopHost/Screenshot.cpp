#include "suite/DesktopHost/Screenshot.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace DesktopHost {

namespace {

// The visible top-level windows painted over the screen's background, for
// platforms whose screen cannot be read back.
QImage PaintWindows(QScreen* screen) {
  QImage image(screen->geometry().size(), QImage::Format_RGB32);
  image.fill(QColor(0x3a, 0x6e, 0xa5));
  QPainter painter(&image);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible() || window->isMinimized()) continue;
    painter.drawPixmap(window->geometry().topLeft(), window->grab());
  }
  return image;
}

}  // namespace

bool SaveScreenshot(const std::string& file, std::string& error) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) {
    error = "no screen";
    return false;
  }
  QApplication::processEvents();
  QImage image;
  if (QGuiApplication::platformName() != "offscreen") image = screen->grabWindow(0).toImage();
  if (image.isNull()) image = PaintWindows(screen);
  if (!image.save(QString::fromStdString(file), "PNG")) {
    error = "cannot write " + file;
    return false;
  }
  return true;
}

}  // namespace DesktopHost
