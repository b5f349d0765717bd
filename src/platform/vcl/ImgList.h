#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Graphics.h"

class QIcon;
class QImage;

namespace vcl {

/* A list of same-sized images (Width x Height, 16 x 16 unless set). Adding
   a bitmap wider than Width adds one image per Width-wide slice. Masked
   images leave their mask colour transparent. */
class TCustomImageList : public TComponent {
  VCL_CLASS_INFO()
 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  int Width() const { return width_; }
  /* Changing the size clears the list, as on the platform. */
  void SetWidth(int width);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Count() const { return static_cast<int>(images_.size()); }
  bool Masked() const { return masked_; }
  void SetMasked(bool on) { masked_ = on; }
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor c) { bkColor_ = c; }

  /* Adds the image (and slices); Mask, when given, marks transparent pixels
     white. Returns the index of the first image added, -1 for none. */
  int Add(const TBitmap* image, const TBitmap* mask = nullptr);
  /* Adds with MaskColor as the transparent colour. */
  int AddMasked(const TBitmap* image, TColor maskColor);
  void Delete(int index);
  void Clear();
  /* Copies image Index into Image (sized Width x Height); false when the
     index is out of range. */
  bool GetBitmap(int index, TBitmap* image) const;
  /* Draws image Index on a canvas. */
  void Draw(TCanvas* canvas, int x, int y, int index) const;

  QIcon Icon(int index) const;

  TNotifyEvent OnChange;

 private:
  void Changed();
  int width_ = 16;
  int height_ = 16;
  bool masked_ = true;
  TColor bkColor_ = clNone;
  std::vector<std::unique_ptr<QImage>> images_;
};

class TImageList : public TCustomImageList {
  VCL_CLASS_INFO()
 public:
  explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

}  // namespace vcl
