#include "controls/GSpdBtn.h"

#include <dlfcn.h>

#include <exception>

#include "platform/core/SysUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/TypInfo.h"

namespace GSpdBtn {

namespace {

TGlyphLibrary OpenLibrary() {
  TGlyphLibrary entries;
  // The module holding the controls first (a plug-in finds the library
  // beside itself), then the program's own folder.
  std::string here = platform::ExtractFilePath(
      platform::ModuleFileName(reinterpret_cast<const void*>(&OpenLibrary)));
  for (const std::string& folder : {here, platform::ProgramFolder()}) {
    if (folder.empty()) continue;
    std::string path = platform::IncludeTrailingPathDelimiter(folder) + kGlyphLibraryName;
    if (!platform::FileExists(path)) continue;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) continue;
    entries.LoadBmp = reinterpret_cast<bool (*)(vcl::TBitmap*, int)>(dlsym(handle, "LoadBmp"));
    entries.GetMaxBmpID = reinterpret_cast<int (*)()>(dlsym(handle, "GetMaxBmpID"));
    if (entries.LoadBmp && entries.GetMaxBmpID) return entries;
    entries = {};
    dlclose(handle);
  }
  return entries;
}

const TGlyphLibrary* g_override = nullptr;

}  // namespace

const TGlyphLibrary& GlyphLibrary() {
  if (g_override) return *g_override;
  static const TGlyphLibrary loaded = OpenLibrary();
  return loaded;
}

void OverrideGlyphLibrary(const TGlyphLibrary* entries) { g_override = entries; }

int GetMaxBmpID() {
  const TGlyphLibrary& lib = GlyphLibrary();
  return lib.GetMaxBmpID ? lib.GetMaxBmpID() : 0;
}

bool LoadBmp(vcl::TBitmap* bitmap, int number) {
  const TGlyphLibrary& lib = GlyphLibrary();
  return lib.LoadBmp ? lib.LoadBmp(bitmap, number) : false;
}

const vcl::TClassInfo* TGSpeedButton::StaticClassInfo() {
  using P = vcl::PropBuilder<TGSpeedButton>;
  static const vcl::TClassInfo info(
      "TGSpeedButton", vcl::TSpeedButton::StaticClassInfo(),
      {
          P::Integer<&TGSpeedButton::GlyphIndex, &TGSpeedButton::SetGlyphIndex>("GlyphIndex"),
          P::Integer<&TGSpeedButton::HintIndex, &TGSpeedButton::SetHintIndex>("HintIndex"),
      });
  return &info;
}

TGSpeedButton::TGSpeedButton(vcl::TComponent* owner) : vcl::TSpeedButton(owner) {}

void TGSpeedButton::SetGlyphIndex(int index) {
  if (index == glyphIndex_) return;
  LoadGlyph(index);
}

bool TGSpeedButton::LoadGlyph(int index) {
  glyphIndex_ = index;
  SetCaption(std::to_string(index));
  try {
    if (index == 0 || index > GetMaxBmpID()) {
      Glyph()->Clear();
      return true;
    }
    vcl::TBitmap bitmap;
    if (!LoadBmp(&bitmap, index) || bitmap.Empty() || bitmap.Height() <= 0)
      throw platform::Exception(kBmpReadError);
    SetGlyph(&bitmap);
    SetCaption("");
    SetNumGlyphs(bitmap.Width() / bitmap.Height());
    return true;
  } catch (const std::exception&) {
    Glyph()->Clear();
    vcl::MessageDlg(kBmpReadError, vcl::mtError, vcl::MsgDlgButtons({vcl::mbOK}));
    return false;
  }
}

}  // namespace GSpdBtn
