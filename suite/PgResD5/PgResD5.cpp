// PgResD5.dll: the maker's numbered button glyphs, drawn on first use.
//
// Every glyph is 16 x 16 pixels per image on a fuchsia ground; the ground
// reaches the bottom-left pixel, whose colour the buttons treat as
// transparent. Nothing is antialiased: a blend with the ground would leave
// a fringe that is not the transparent colour.
//
// Pictograms: 4 clear (an eraser, with a second, greyed image for the
// disabled button), 8 lookup (a magnifier), 9 date (a calendar), 44 coins,
// 47 delete (a red cross), 61 person, 63 plant. Every other number up to
// kMaxBmpId is a plain tile showing the number.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <exception>
#include <string>

#include "platform/vcl/Graphics.h"

namespace {

constexpr int kMaxBmpId = 80;
constexpr int kSize = 16;
const QColor kGround(255, 0, 255);

QImage NewImage(int images) {
  QImage img(kSize * images, kSize, QImage::Format_RGB32);
  img.fill(kGround);
  return img;
}

// 3 x 5 pixel digits, one row per entry, bit 2 = left column.
const unsigned char kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void DrawNumber(QImage& img, int number, QRgb colour) {
  std::string text = std::to_string(number);
  int width = static_cast<int>(text.size()) * 4 - 1;
  int x0 = (kSize - width) / 2, y0 = (kSize - 5) / 2;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char* rows = kDigits[text[i] - '0'];
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 3; ++x)
        if (rows[y] & (4 >> x)) img.setPixel(x0 + static_cast<int>(i) * 4 + x, y0 + y, colour);
  }
}

QImage Tile(int number) {
  QImage img = NewImage(1);
  {
    QPainter p(&img);
    p.setPen(QColor(96, 96, 96));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(1, 1, 13, 13);
  }
  DrawNumber(img, number, qRgb(0, 0, 128));
  return img;
}

QImage Magnifier() {
  QImage img = NewImage(1);
  QPainter p(&img);
  p.setPen(QPen(QColor(120, 72, 24), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(13.5, 13.5));
  p.setPen(QPen(QColor(32, 32, 32), 1.5));
  p.setBrush(QColor(190, 225, 250));
  p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
  return img;
}

QImage Calendar() {
  QImage img = NewImage(1);
  QPainter p(&img);
  p.setPen(QColor(64, 64, 64));
  p.setBrush(Qt::white);
  p.drawRect(1, 2, 13, 12);
  p.fillRect(2, 3, 12, 3, QColor(200, 32, 32));
  p.fillRect(4, 1, 1, 3, QColor(64, 64, 64));
  p.fillRect(11, 1, 1, 3, QColor(64, 64, 64));
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col) p.fillRect(3 + col * 3, 7 + row * 2, 2, 1, QColor(0, 0, 128));
  return img;
}

void DrawEraser(QPainter& p, int x, bool greyed) {
  p.save();
  p.translate(x + 8, 8);
  p.rotate(-40);
  QColor outline = greyed ? QColor(128, 128, 128) : QColor(48, 48, 48);
  p.setPen(QPen(outline, 1));
  p.setBrush(greyed ? QColor(200, 200, 200) : QColor(245, 140, 160));
  p.drawRect(QRectF(-6, -3, 6, 6));
  p.setBrush(greyed ? QColor(225, 225, 225) : QColor(120, 160, 230));
  p.drawRect(QRectF(0, -3, 6, 6));
  p.restore();
}

QImage Eraser() {
  QImage img = NewImage(2);
  QPainter p(&img);
  DrawEraser(p, 0, false);
  DrawEraser(p, kSize, true);
  return img;
}

QImage DeleteMark() {
  QImage img = NewImage(1);
  QPainter p(&img);
  p.setPen(QPen(QColor(210, 20, 20), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(4, 4), QPointF(12, 12));
  p.drawLine(QPointF(12, 4), QPointF(4, 12));
  return img;
}

QImage Plant() {
  QImage img = NewImage(1);
  QPainter p(&img);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(150, 80, 40));
  p.drawPolygon(QPolygonF({QPointF(4, 11), QPointF(12, 11), QPointF(11, 15), QPointF(5, 15)}));
  p.setPen(QPen(QColor(40, 130, 40), 1.5));
  p.drawLine(QPointF(8, 11), QPointF(8, 3));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 170, 60));
  p.drawEllipse(QPointF(5, 6), 3, 1.8);
  p.drawEllipse(QPointF(11, 4.5), 3, 1.8);
  p.drawEllipse(QPointF(10.5, 8.5), 2.5, 1.5);
  return img;
}

QImage Coins() {
  QImage img = NewImage(1);
  QPainter p(&img);
  p.setPen(QPen(QColor(150, 110, 0), 1));
  p.setBrush(QColor(250, 205, 40));
  for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF(2, 10.5 - i * 3, 9, 4));
  p.drawEllipse(QRectF(9, 7, 6, 6));
  return img;
}

QImage Person() {
  QImage img = NewImage(1);
  QPainter p(&img);
  p.setPen(QPen(QColor(40, 40, 90), 1));
  p.setBrush(QColor(70, 110, 200));
  QPainterPath body;
  body.moveTo(3, 15);
  body.cubicTo(3, 9, 13, 9, 13, 15);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(QColor(250, 210, 170));
  p.drawEllipse(QPointF(8, 5), 3, 3);
  return img;
}

QImage Glyph(int number) {
  switch (number) {
    case 4:
      return Eraser();
    case 8:
      return Magnifier();
    case 9:
      return Calendar();
    case 44:
      return Coins();
    case 47:
      return DeleteMark();
    case 61:
      return Person();
    case 63:
      return Plant();
    default:
      return Tile(number);
  }
}

}  // namespace

extern "C" {

/* Fills Bitmap with glyph Number; false for a null bitmap or a number
   outside 1..GetMaxBmpID(). */
__attribute__((visibility("default"))) bool LoadBmp(vcl::TBitmap* bitmap, int number) {
  if (!bitmap || number < 1 || number > kMaxBmpId) return false;
  try {
    bitmap->SetImage(Glyph(number));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

/* The highest glyph number. */
__attribute__((visibility("default"))) int GetMaxBmpID() { return kMaxBmpId; }

}  // extern "C"
