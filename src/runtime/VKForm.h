#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "runtime/CodeConverter.h"
#include "runtime/LanguageController.h"

namespace vcl {
class TBitmap;
}

/* The base window of the program: every option window and dialog derives
   from TVKForm. It owns the code-page converter ("VkConverter") and the
   language-package controller ("LangController"), gives every window the
   same start-up treatment and offers the message dialog and the language
   texts the windows use.

   A derived window builds its components in its constructor and sets its
   own OnCreate and OnShow handlers, which call FormCreate and FormShow of
   this class first; its show handler then calls ConvertOnce. */
namespace VKForm {

class TVKForm : public vcl::TForm {
  VCL_CLASS_INFO()
 public:
  /* A 400 x 191 window captioned "VKForm" in "宋体" (height -13), key
     preview on, centred on the screen, with its converter (which reads the
     code pages and may raise when the conversion library cannot be loaded:
     the window then cannot be made) and its inactive controller. */
  explicit TVKForm(vcl::TComponent* owner);
  ~TVKForm() override;

  CodeConverter::TCodeConverter* VkConverter() const { return converter_; }
  LanguageController::TVkLangController* LangController() const { return langController_; }

  /* ConvertForm has been applied to this window. */
  bool Converted = false;
  /* Apply the language packages whenever the window is shown. */
  bool LanguageOnShow = true;

  /* OnCreate: for every component the window owns, clears "ImeName"; on an
     English interface ("437") gives every "Font" the charset 134 and the
     name "Tahoma"; gives a button with exactly one glyph a second, disabled
     one (speed and bitmap buttons, a lookup edit's "F2Button", a select
     panel's three buttons; not in the compatibility build). */
  void FormCreate(vcl::TObject* sender);
  /* OnShow: ApplyLanguage(this, true) while LanguageOnShow. */
  void FormShow(vcl::TObject* sender);
  /* Converts the window's texts and fonts the first time only. */
  void ConvertOnce();

  /* Applies the language packages of Component's classes, from the most
     basic one below the platform's form class to Component's own class (or
     only its own class without ByClassChain); each package file that
     exists is loaded and applied, so a derived class's package overrides
     its ancestors'. A malformed package raises LanguageControllerError. */
  virtual void ApplyLanguage(vcl::TComponent* component, bool byClassChain);
  /* The same, leaving out TVKForm's own package. */
  virtual void ApplyLanguageBelowBase(vcl::TComponent* component, bool byClassChain);

  /* The converter's message dialog (see TCodeConverter::MessageDialog). */
  int ShowMessageDialog(const std::string& text, vcl::TMsgDlgType dialogType,
                        vcl::TMsgDlgButtons buttons) const;

  std::string SystemCodePage() const { return converter_->SystemCodePage(); }
  std::string UICodePage() const { return converter_->UICodePage(); }
  int UIConvertKind() const { return converter_->UIConvertKind(); }
  int DataConvertKind() const { return converter_->DataConvertKind(); }

  /* Text := the language text of Key in Package's language package, or
     Default (first passed through TextToUI when ConvertDefault). */
  void GetLangMessage(std::string_view package, std::string_view key, std::string& text,
                      bool convertDefault, const std::string& defaultText) const;

#if !VK_COMPAT_BUILD
  /* Doubles Image's width: its former content on the left, its disabled
     form (MakeDisabledImage) on the right, the rest in its transparent
     colour. An empty image is left alone. */
  static void AddDisabledImage(vcl::TBitmap* image);
  /* The engraved, disabled form of an image (24 bits per pixel): pixels
     that are not the transparent colour are marked when they are dark
     (red + green + blue < 384) or touch the transparent colour (above,
     below, left or right, clamped at the edges); on the button-face colour
     every marked pixel is drawn one pixel right and down in the highlight
     colour and then in place in the shadow colour. */
  static std::unique_ptr<vcl::TBitmap> MakeDisabledImage(const vcl::TBitmap* image);
#endif

 private:
  void ApplyPackages(vcl::TComponent* component, const std::vector<std::string>& classNames);
  std::vector<std::string> ClassChain(vcl::TComponent* component, bool byClassChain,
                                      bool belowBase) const;

  CodeConverter::TCodeConverter* converter_ = nullptr;
  LanguageController::TVkLangController* langController_ = nullptr;
};

}  // namespace VKForm
