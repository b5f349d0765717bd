#pragma once

#include <string>

#include "platform/vcl/Buttons.h"

/* The speed button whose glyph is a number in the maker's glyph library
   "PgResD5.dll", and the access to that library. */
namespace GSpdBtn {

/* The two entry points of the glyph library. LoadBmp fills the bitmap with
   glyph Number (images side by side, each as wide as the bitmap is high)
   and returns true on success; GetMaxBmpID is the highest glyph number. */
struct TGlyphLibrary {
  bool (*LoadBmp)(vcl::TBitmap* bitmap, int number) = nullptr;
  int (*GetMaxBmpID)() = nullptr;
};

/* The file name the library is loaded by. */
inline constexpr char kGlyphLibraryName[] = "PgResD5.dll";

/* The library's entry points. The library is looked for once, first in the
   folder of the module holding this code, then in the program's folder;
   the entry points found are kept for the life of the process. Without the
   library (or an entry point) the fields are null. */
const TGlyphLibrary& GlyphLibrary();

/* Puts other entry points in place of the library's (tests use it to
   inject failing loaders or no library at all); nullptr goes back to the
   library found on disk. */
void OverrideGlyphLibrary(const TGlyphLibrary* entries);

/* GetMaxBmpID of the library; 0 without it. */
int GetMaxBmpID();
/* LoadBmp of the library; false without it. */
bool LoadBmp(vcl::TBitmap* bitmap, int number);

/* The error text shown when a glyph cannot be read. */
inline constexpr char kBmpReadError[] = "读取 BMP 发生错误";

/* A speed button showing glyph GlyphIndex of the glyph library.

   Setting GlyphIndex to N (nothing happens when N is the current value):
   the caption becomes N in decimal; N = 0 or N above GetMaxBmpID clears the
   glyph and keeps the number as caption; otherwise the glyph is loaded, the
   caption cleared and NumGlyphs set to the bitmap's width / height. A load
   that fails (LoadBmp false or an error) shows kBmpReadError in an error
   dialog, clears the glyph and keeps the number as caption. HintIndex is
   only stored. */
class TGSpeedButton : public vcl::TSpeedButton {
  VCL_CLASS_INFO()
 public:
  explicit TGSpeedButton(vcl::TComponent* owner);

  int GlyphIndex() const { return glyphIndex_; }
  void SetGlyphIndex(int index);
  int HintIndex() const { return hintIndex_; }
  void SetHintIndex(int index) { hintIndex_ = index; }

  /* Loads glyph Index as SetGlyphIndex does, even when it is the current
     value; false when a load was tried and failed (Index 0 or above the
     maximum is not a failure: there is just no glyph). */
  bool LoadGlyph(int index);

 private:
  int glyphIndex_ = 0;
  int hintIndex_ = 0;
};

}  // namespace GSpdBtn
