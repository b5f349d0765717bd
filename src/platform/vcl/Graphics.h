#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/vcl/Classes.h"

class QColor;
class QFont;
class QImage;
class QPainter;
class QPaintDevice;
class QString;

namespace vcl {

// ---------------------------------------------------------------------------
// Colours: the platform's 0x00BBGGRR values. A value with the top bit set
// (0x80000000 | n) names system colour n and is resolved through a fixed
// table of the classic desktop scheme.

using TColor = int32_t;

constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | unsigned(index)); }

inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
                        clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080,
                        clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                        clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000,
                        clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                        clDkGray = 0x808080, clWhite = 0xFFFFFF, clNone = 0x1FFFFFFF,
                        clDefault = 0x20000000;

inline constexpr TColor clScrollBar = SysColor(0), clBackground = SysColor(1),
                        clActiveCaption = SysColor(2), clInactiveCaption = SysColor(3),
                        clMenu = SysColor(4), clWindow = SysColor(5), clWindowFrame = SysColor(6),
                        clMenuText = SysColor(7), clWindowText = SysColor(8),
                        clCaptionText = SysColor(9), clActiveBorder = SysColor(10),
                        clInactiveBorder = SysColor(11), clAppWorkSpace = SysColor(12),
                        clHighlight = SysColor(13), clHighlightText = SysColor(14),
                        clBtnFace = SysColor(15), clBtnShadow = SysColor(16),
                        clGrayText = SysColor(17), clBtnText = SysColor(18),
                        clInactiveCaptionText = SysColor(19), clBtnHighlight = SysColor(20),
                        cl3DDkShadow = SysColor(21), cl3DLight = SysColor(22),
                        clInfoText = SysColor(23), clInfoBk = SysColor(24);

/* The plain 0x00BBGGRR value: system colours through the table; clNone and
   clDefault give white. */
TColor ColorToRGB(TColor color);
inline int GetRValue(TColor c) { return c & 0xFF; }
inline int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
inline TColor RGB(int r, int g, int b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
/* "clRed" and the other colour names; also registered for the property
   type "TColor" (see IdentToInt). */
bool ColorToIdent(TColor color, std::string& ident);
bool IdentToColor(std::string_view ident, TColor& color);

// ---------------------------------------------------------------------------
// Fonts.

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint8_t;  // bit n = TFontStyle n
constexpr TFontStyles FontStyle(TFontStyle s) { return static_cast<TFontStyles>(1u << s); }
enum TFontPitch { fpDefault, fpVariable, fpFixed };

/* The platform's TFont. Height < 0 is the character height in pixels
   (Size = -Height * 72 / 96, rounded); Name is bytes in the code page of the
   font's character set. OnChange runs after every change. */
class TFont : public TPersistent {
  VCL_CLASS_INFO()
 public:
  TFont();

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int size);
  int Charset() const { return charset_; }
  void SetCharset(int charset);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  int PixelsPerInch() const { return 96; }

  void Assign(const TPersistent* source) override;
  /* Same values (name, height, charset, style, colour, pitch). */
  bool SameAs(const TFont& other) const;

  /* The code page texts drawn with this font are decoded with. */
  int CodePage() const;
  QFont ToQFont() const;

  TNotifyEvent OnChange;
  /* A second listener for the font's holder (a control); after OnChange. */
  void SetChangeHook(std::function<void()> hook) { hook_ = std::move(hook); }

 private:
  void Changed();
  std::string name_;
  int height_ = -11;
  int charset_ = 1;  // DEFAULT_CHARSET
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  TFontPitch pitch_ = fpDefault;
  std::function<void()> hook_;
};

/* Byte text decoded for display by a font's character set, and back. */
QString DecodeText(const std::string& bytes, int codePage);
std::string EncodeText(const QString& text, int codePage);

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TBrush : public TPersistent {
  VCL_CLASS_INFO()
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; }
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle s) { style_ = s; }
  void Assign(const TPersistent* source) override;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

class TPen : public TPersistent {
  VCL_CLASS_INFO()
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; }
  int Width() const { return width_; }
  void SetWidth(int w) { width_ = w; }
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle s) { style_ = s; }
  void Assign(const TPersistent* source) override;

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
};

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

/* A rectangle; Right and Bottom are exclusive, as on the platform. */
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};
inline TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }

class TBitmap;

/* Drawing surface of a bitmap, or of a custom control while it paints.
   Texts are bytes drawn in the code page of the canvas font's charset.
   Outside painting, a control's canvas measures but does not draw. */
class TCanvas : public TPersistent {
  VCL_CLASS_INFO()
 public:
  TCanvas();
  ~TCanvas() override;

  TFont* Font() const { return font_.get(); }
  TBrush* Brush() const { return brush_.get(); }
  TPen* Pen() const { return pen_.get(); }

  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  void Rectangle(int x1, int y1, int x2, int y2);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  /* Text clipped to Rect, starting at (x, y). */
  void TextRect(const TRect& rect, int x, int y, const std::string& text);
  int TextWidth(const std::string& text) const;
  int TextHeight(const std::string& text) const;
  /* Draws a bitmap; a Transparent bitmap leaves its TransparentColor out. */
  void Draw(int x, int y, const TBitmap* bitmap);
  void StretchDraw(const TRect& rect, const TBitmap* bitmap);
  void DrawFocusRect(const TRect& rect);
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  TPoint PenPos() const { return penPos_; }

  /* Painting support for the layer: the painter in use (nullptr when none)
     and the device it paints on. */
  void BeginPaint(QPainter* painter);
  void EndPaint();
  void SetImage(QImage* image) { image_ = image; }

 private:
  template <class F>
  void WithPainter(F&& f);
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TBrush> brush_;
  std::unique_ptr<TPen> pen_;
  QPainter* painter_ = nullptr;
  QImage* image_ = nullptr;
  TPoint penPos_;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

/* The platform's TBitmap over a QImage. TransparentColor is, in tmAuto mode,
   the colour of the bottom-left pixel (clNone for an empty bitmap); Transparent
   tells Draw to leave it out. LoadFromFile reads BMP and PNG files and raises
   EInvalidGraphic-like Exception when it cannot. */
class TBitmap : public TPersistent {
  VCL_CLASS_INFO()
 public:
  TBitmap();
  ~TBitmap() override;

  int Width() const;
  int Height() const;
  void SetWidth(int width);
  void SetHeight(int height);
  void SetSize(int width, int height);
  bool Empty() const;
  TPixelFormat PixelFormat() const { return pixelFormat_; }
  /* Converts the pixels; 24 and 32 bits keep the colours, 1 bit makes
     anything not black white. */
  void SetPixelFormat(TPixelFormat format);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on) { transparent_ = on; }
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  TCanvas* Canvas();

  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
  void Assign(const TPersistent* source) override;
  /* Frees the pixels (Empty becomes true). */
  void Clear();

  const QImage& Image() const;
  void SetImage(const QImage& image);

  TNotifyEvent OnChange;
  void SetChangeHook(std::function<void()> hook) { hook_ = std::move(hook); }
  void Changed();

 private:
  std::unique_ptr<QImage> image_;
  std::unique_ptr<TCanvas> canvas_;
  TPixelFormat pixelFormat_ = pfDevice;
  bool transparent_ = false;
  TTransparentMode transparentMode_ = tmAuto;
  TColor transparentColor_ = clDefault;
  std::function<void()> hook_;
};

}  // namespace vcl
