#include "runtime/VKForm.h"

#include <algorithm>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/Graphics.h"
#include "runtime/LibRTTI.h"

namespace VKForm {

using platform::Variant;

namespace {

/* Classes at which the walk up a window's class chain ends. */
bool EndsClassChain(const std::string& name) {
  for (const char* end : {"TForm", "TCustomForm", "TDataModule", "TComponent"})
    if (name == end) return true;
  return false;
}

#if !VK_COMPAT_BUILD

/* The buttons of a component that show glyphs of their own. */
std::vector<vcl::TComponent*> GlyphButtons(vcl::TComponent* c) {
  if (c->InheritsFrom("TVkBtnDBEdit") || c->InheritsFrom("TVkBtnDBCombo")) {
    vcl::TComponent* button = LibRTTI::FindPart(c, "F2Button");
    if (button == nullptr) button = LibRTTI::FindPart(c, "Button");
    return {button};
  }
  if (c->InheritsFrom("TSpeedButton") || c->InheritsFrom("TBitBtn") ||
      c->InheritsFrom("TGSpeedButton"))
    return {c};
  if (c->InheritsFrom("TSelectPanel"))
    return {LibRTTI::FindPart(c, "BeginButton"), LibRTTI::FindPart(c, "FinalButton"),
            LibRTTI::FindPart(c, "ListButton")};
  return {};
}

void GiveDisabledImage(vcl::TComponent* button) {
  if (button == nullptr || LibRTTI::GetOrdinalProp(button, "NumGlyphs") != 1) return;
  auto* glyph = dynamic_cast<vcl::TBitmap*>(LibRTTI::GetObjectPropValue(button, "Glyph"));
  if (glyph == nullptr || glyph->Empty()) return;
  TVKForm::AddDisabledImage(glyph);
  LibRTTI::SetOrdinalProp(button, "NumGlyphs", 2);
}

#endif

}  // namespace

const vcl::TClassInfo* TVKForm::StaticClassInfo() {
  using P = vcl::PropBuilder<TVKForm>;
  static const vcl::TClassInfo info("TVKForm", vcl::TForm::StaticClassInfo(), {},
                                    {
                                        P::PublishedMethod<&TVKForm::FormCreate>("FormCreate"),
                                        P::PublishedMethod<&TVKForm::FormShow>("FormShow"),
                                    });
  return &info;
}

TVKForm::TVKForm(vcl::TComponent* owner) : vcl::TForm(owner) {
  SetBounds(Left(), Top(), 400, 191);
  SetCaption("VKForm");
  Font()->SetName("宋体");
  Font()->SetHeight(-13);
  Font()->SetCharset(platform::DEFAULT_CHARSET);
  Font()->SetColor(vcl::clWindowText);
  SetColor(vcl::clBtnFace);
  SetKeyPreview(true);
  SetPosition(vcl::poScreenCenter);
  SetScaled(false);
  SetShowHint(true);

  converter_ = new CodeConverter::TCodeConverter(this);
  converter_->SetName("VkConverter");
  converter_->SetDesignType(CodeConverter::dtClient);
  langController_ = new LanguageController::TVkLangController(this);
  langController_->SetName("LangController");

  OnCreate = vcl::MakeEvent<&TVKForm::FormCreate>(this);
  OnShow = vcl::MakeEvent<&TVKForm::FormShow>(this);
}

TVKForm::~TVKForm() = default;

void TVKForm::FormCreate(vcl::TObject*) {
  Converted = false;
  LanguageOnShow = true;
  const bool english = UICodePage() == "437";
  std::vector<vcl::TComponent*> components;
  for (int i = 0; i < ComponentCount(); ++i) components.push_back(Components(i));
  for (vcl::TComponent* c : components) {
    if (LibRTTI::HasProperty(c, "ImeName")) LibRTTI::SetTextProp(c, "ImeName", "");
    // Chinese data stays readable on an English interface.
    if (english && LibRTTI::HasProperty(c, "Font")) {
      LanguageController::SetPropertyPath(c, "Font.Charset", Variant(platform::GB2312_CHARSET));
      LanguageController::SetPropertyPath(c, "Font.Name", Variant("Tahoma"));
    }
#if !VK_COMPAT_BUILD
    for (vcl::TComponent* button : GlyphButtons(c)) GiveDisabledImage(button);
#endif
  }
}

void TVKForm::FormShow(vcl::TObject*) {
  if (LanguageOnShow) ApplyLanguage(this, true);
}

void TVKForm::ConvertOnce() {
  if (!Converted) converter_->ConvertForm(this);
  Converted = true;
}

std::vector<std::string> TVKForm::ClassChain(vcl::TComponent* component, bool byClassChain,
                                             bool belowBase) const {
  std::vector<std::string> names;
  if (!byClassChain) {
    names.push_back(component->ClassName());
    return names;
  }
  for (const vcl::TClassInfo* info = component->ClassInfo(); info != nullptr;
       info = info->Parent()) {
    if (EndsClassChain(info->Name()) || (belowBase && info->Name() == "TVKForm")) break;
    names.insert(names.begin(), info->Name());
  }
  return names;
}

void TVKForm::ApplyPackages(vcl::TComponent* component,
                            const std::vector<std::string>& classNames) {
  for (const std::string& name : classNames) {
    langController_->SetLangPackageName(name);
    if (!platform::FileExists(langController_->PackageFile())) continue;
    langController_->SetActive(true);
    langController_->Reader().LoadComponent(component);
  }
}

void TVKForm::ApplyLanguage(vcl::TComponent* component, bool byClassChain) {
  if (component != nullptr) ApplyPackages(component, ClassChain(component, byClassChain, false));
}

void TVKForm::ApplyLanguageBelowBase(vcl::TComponent* component, bool byClassChain) {
  if (component != nullptr) ApplyPackages(component, ClassChain(component, byClassChain, true));
}

int TVKForm::ShowMessageDialog(const std::string& text, vcl::TMsgDlgType dialogType,
                               vcl::TMsgDlgButtons buttons) const {
  return converter_->MessageDialog(text, dialogType, buttons);
}

void TVKForm::GetLangMessage(std::string_view package, std::string_view key, std::string& text,
                             bool convertDefault, const std::string& defaultText) const {
  const std::string fallback =
      convertDefault ? converter_->TextToUI(Variant(defaultText)).AsString() : defaultText;
  text = LanguageController::GetLangMessage(langController_->DesignType(), package, key, fallback);
}

#if !VK_COMPAT_BUILD

std::unique_ptr<vcl::TBitmap> TVKForm::MakeDisabledImage(const vcl::TBitmap* image) {
  auto result = std::make_unique<vcl::TBitmap>();
  if (image == nullptr || image->Empty()) return result;
  vcl::TBitmap source;
  source.Assign(image);
  source.SetPixelFormat(vcl::pf24bit);
  const int width = source.Width();
  const int height = source.Height();
  const vcl::TColor transparent = vcl::ColorToRGB(image->TransparentColor()) & 0xFFFFFF;
  auto isTransparent = [&](int x, int y) {
    const vcl::TColor c = source.Pixel(std::clamp(x, 0, width - 1), std::clamp(y, 0, height - 1));
    return vcl::GetRValue(c) == vcl::GetRValue(transparent) &&
           vcl::GetGValue(c) == vcl::GetGValue(transparent) &&
           vcl::GetBValue(c) == vcl::GetBValue(transparent);
  };

  // The shape: dark pixels, and the rim of the lighter ones.
  vcl::TBitmap& work = *result;
  work.Assign(&source);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) work.SetPixel(x, y, transparent);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (isTransparent(x, y)) continue;
      const vcl::TColor c = source.Pixel(x, y);
      const bool dark = vcl::GetRValue(c) + vcl::GetGValue(c) + vcl::GetBValue(c) < 384;
      if (dark || isTransparent(x, y - 1) || isTransparent(x, y + 1) || isTransparent(x - 1, y) ||
          isTransparent(x + 1, y))
        work.SetPixel(x, y, vcl::clBlack);
    }

  // The one-bit mask: black stays black, everything else turns white.
  vcl::TBitmap mask;
  mask.Assign(&work);
  mask.SetPixelFormat(vcl::pf1bit);
  auto inShape = [&](int x, int y) { return (mask.Pixel(x, y) & 0xFFFFFF) == 0; };

  // Engraved: the shape in the highlight colour one pixel down and to the
  // right, then in the shadow colour in place, on the button face.
  const vcl::TColor face = vcl::ColorToRGB(vcl::clBtnFace);
  const vcl::TColor highlight = vcl::ColorToRGB(vcl::clBtnHighlight);
  const vcl::TColor shadow = vcl::ColorToRGB(vcl::clBtnShadow);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) work.SetPixel(x, y, face);
  for (int y = 0; y + 1 < height; ++y)
    for (int x = 0; x + 1 < width; ++x)
      if (inShape(x, y)) work.SetPixel(x + 1, y + 1, highlight);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (inShape(x, y)) work.SetPixel(x, y, shadow);
  work.SetPixelFormat(vcl::pf24bit);
  return result;
}

void TVKForm::AddDisabledImage(vcl::TBitmap* image) {
  if (image == nullptr || image->Empty()) return;
  const std::unique_ptr<vcl::TBitmap> disabled = MakeDisabledImage(image);
  vcl::TBitmap former;
  former.Assign(image);
  const int width = former.Width();
  const int height = former.Height();
  const vcl::TColor transparent = vcl::ColorToRGB(former.TransparentColor());
  vcl::TBitmap doubled;
  doubled.Assign(&former);
  doubled.SetSize(width * 2, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width * 2; ++x)
      doubled.SetPixel(x, y,
                       x < width
                           ? former.Pixel(x, y)
                           : (disabled->Empty() ? transparent : disabled->Pixel(x - width, y)));
  image->Assign(&doubled);
}

#endif

}  // namespace VKForm
