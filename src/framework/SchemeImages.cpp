// The scheme panel's pictures, drawn when the window is built.
//
// Every picture is drawn on a fuchsia ground that the image list then
// treats as transparent; nothing is antialiased, since a blend with the
// ground would leave a fringe that is not the transparent colour. The
// small pictures are drawn on an 18-pixel grid and scaled to the list's
// size; the scheme item is drawn at the list's own size, so that it stays
// crisp in the large-icon view as well.
#include "framework/SchemeImages.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImgList.h"

namespace BaseGene {

namespace {

constexpr int kGrid = 18;
const QColor kGround(255, 0, 255);
const QColor kOutline(64, 64, 64);

// A page with a folded corner and lines of text: a saved set of conditions.
void DrawScheme(QPainter& p, int size) {
  int left = size * 3 / kGrid, right = size - left - 1;
  int top = size / kGrid, bottom = size - 2;
  int fold = size * 4 / kGrid;
  p.setPen(kOutline);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygon({QPoint(left, top), QPoint(right - fold, top), QPoint(right, top + fold),
                          QPoint(right, bottom), QPoint(left, bottom)}));
  p.setBrush(QColor(200, 200, 200));
  p.drawPolygon(QPolygon(
      {QPoint(right - fold, top), QPoint(right - fold, top + fold), QPoint(right, top + fold)}));
  p.setPen(QColor(40, 80, 170));
  p.drawLine(left + 2, top + 2, right - fold - 2, top + 2);
  for (int y = top + fold + 2; y < bottom - 1; y += 2) p.drawLine(left + 2, y, right - 2, y);
}

// A diskette: body, label and shutter.
void DrawSave(QPainter& p) {
  p.setPen(QColor(20, 30, 80));
  p.setBrush(QColor(50, 90, 180));
  p.drawPolygon(
      QPolygon({QPoint(2, 2), QPoint(14, 2), QPoint(15, 3), QPoint(15, 15), QPoint(2, 15)}));
  p.setPen(Qt::NoPen);
  p.fillRect(5, 3, 8, 6, Qt::white);
  p.fillRect(6, 5, 6, 1, QColor(150, 150, 150));
  p.fillRect(5, 11, 7, 4, QColor(190, 190, 190));
  p.fillRect(9, 12, 2, 2, QColor(20, 30, 80));
}

// An opened folder: the back with its tab, the front flap tilted open.
void DrawOpen(QPainter& p) {
  const QColor edge(130, 90, 10);
  p.setPen(edge);
  p.setBrush(QColor(210, 160, 40));
  p.drawPolygon(QPolygon(
      {QPoint(1, 4), QPoint(6, 4), QPoint(7, 5), QPoint(14, 5), QPoint(14, 14), QPoint(1, 14)}));
  p.setBrush(QColor(250, 215, 100));
  p.drawPolygon(QPolygon({QPoint(4, 8), QPoint(17, 8), QPoint(14, 14), QPoint(1, 14)}));
}

// A red cross.
void DrawDelete(QPainter& p) {
  p.setPen(QPen(QColor(200, 20, 20), 3, Qt::SolidLine, Qt::SquareCap));
  p.drawLine(4, 4, 13, 13);
  p.drawLine(13, 4, 4, 13);
}

// Four tiles, as the large-icon view shows the schemes.
void DrawViewStyle(QPainter& p) {
  p.setPen(QColor(30, 50, 110));
  p.setBrush(QColor(90, 140, 220));
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 2; ++col) p.drawRect(2 + col * 8, 2 + row * 8, 5, 5);
}

QImage Picture(TSchemeImage which, int width, int height) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(kGround);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  if (which == siScheme) {
    DrawScheme(p, std::min(width, height));
    return img;
  }
  p.scale(static_cast<double>(width) / kGrid, static_cast<double>(height) / kGrid);
  switch (which) {
    case siSave:
      DrawSave(p);
      break;
    case siOpen:
      DrawOpen(p);
      break;
    case siDelete:
      DrawDelete(p);
      break;
    default:
      DrawViewStyle(p);
      break;
  }
  return img;
}

void Add(vcl::TImageList* list, TSchemeImage which) {
  vcl::TBitmap bitmap;
  bitmap.SetImage(Picture(which, list->Width(), list->Height()));
  list->AddMasked(&bitmap, vcl::clFuchsia);
}

}  // namespace

void AddSchemeImages(vcl::TImageList* small, vcl::TImageList* large) {
  if (small && small->Count() == 0)
    for (int i = siScheme; i < siSchemeImageCount; ++i) Add(small, static_cast<TSchemeImage>(i));
  if (large && large->Count() == 0) Add(large, siScheme);
}

}  // namespace BaseGene
