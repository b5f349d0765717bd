#include "platform/vcl/ImgList.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "platform/vcl/TypInfo.h"

namespace vcl {

const TClassInfo* TCustomImageList::StaticClassInfo() {
  using P = PropBuilder<TCustomImageList>;
  static const TClassInfo info(
      "TCustomImageList", TComponent::StaticClassInfo(),
      {
          P::Integer<&TCustomImageList::BkColor, &TCustomImageList::SetBkColor>("BkColor",
                                                                                "TColor"),
          P::Integer<&TCustomImageList::Height, &TCustomImageList::SetHeight>("Height"),
          P::Bool<&TCustomImageList::Masked, &TCustomImageList::SetMasked>("Masked"),
          P::Integer<&TCustomImageList::Width, &TCustomImageList::SetWidth>("Width"),
          P::Event<&TCustomImageList::OnChange>("OnChange"),
      });
  return &info;
}

const TClassInfo* TImageList::StaticClassInfo() {
  static const TClassInfo info("TImageList", TCustomImageList::StaticClassInfo());
  return &info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}
TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Changed() { OnChange(this); }

void TCustomImageList::SetWidth(int width) {
  if (width == width_ || width <= 0) return;
  width_ = width;
  Clear();
}

void TCustomImageList::SetHeight(int height) {
  if (height == height_ || height <= 0) return;
  height_ = height;
  Clear();
}

int TCustomImageList::Add(const TBitmap* image, const TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  const QImage& src = image->Image();
  int first = Count();
  int slices = std::max(1, src.width() / width_);
  for (int s = 0; s < slices; ++s) {
    auto img = std::make_unique<QImage>(width_, height_, QImage::Format_ARGB32);
    img->fill(Qt::transparent);
    {
      QPainter p(img.get());
      p.drawImage(0, 0, src, s * width_, 0, width_, height_);
    }
    if (mask && !mask->Empty()) {
      const QImage& m = mask->Image();
      for (int y = 0; y < height_ && y < m.height(); ++y)
        for (int x = 0; x < width_ && s * width_ + x < m.width(); ++x)
          if ((m.pixel(s * width_ + x, y) & 0xFFFFFF) == 0xFFFFFF) img->setPixel(x, y, 0);
    }
    images_.push_back(std::move(img));
  }
  Changed();
  return first;
}

int TCustomImageList::AddMasked(const TBitmap* image, TColor maskColor) {
  int first = Add(image);
  if (first < 0) return first;
  QColor key = ToQColor(maskColor);
  QRgb k = key.rgb() & 0xFFFFFF;
  for (int i = first; i < Count(); ++i) {
    QImage& img = *images_[static_cast<size_t>(i)];
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if ((img.pixel(x, y) & 0xFFFFFF) == k) img.setPixel(x, y, 0);
  }
  return first;
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  images_.erase(images_.begin() + index);
  Changed();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Changed();
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) const {
  if (!image || index < 0 || index >= Count()) return false;
  QImage out(width_, height_, QImage::Format_RGB32);
  out.fill(bkColor_ == clNone ? QColor(Qt::white) : ToQColor(bkColor_));
  {
    QPainter p(&out);
    p.drawImage(0, 0, *images_[static_cast<size_t>(index)]);
  }
  image->SetImage(out);
  return true;
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index) const {
  if (!canvas || index < 0 || index >= Count()) return;
  TBitmap bmp;
  QImage img = images_[static_cast<size_t>(index)]->copy();
  // Transparent pixels: let Draw leave them out through a key colour.
  QImage keyed(img.size(), QImage::Format_RGB32);
  keyed.fill(QColor(255, 0, 255));
  {
    QPainter p(&keyed);
    p.drawImage(0, 0, img);
  }
  bmp.SetImage(keyed);
  bmp.SetTransparent(true);
  bmp.SetTransparentColor(RGB(255, 0, 255));
  canvas->Draw(x, y, &bmp);
}

QIcon TCustomImageList::Icon(int index) const {
  if (index < 0 || index >= Count()) return QIcon();
  return QIcon(QPixmap::fromImage(*images_[static_cast<size_t>(index)]));
}

}  // namespace vcl
