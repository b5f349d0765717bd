#pragma once

#include <memory>
#include <string>

#include "platform/core/Variant.h"
#include "platform/vcl/Classes.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {
class TCustomForm;
class TCustomListView;
class TFont;
}  // namespace vcl

namespace TranslatorU {
class TTranslator;
}

/* Code-page conversion of a window and its data. Program texts are GB; the
   interface may be GB, Big5 or English and the database GB or Big5. The
   conversion kinds are 0 none, 1 Big5 to GB, 2 GB to Big5 and 4 (a GB
   interface on a Big5 system: fonts only, no text conversion). */
namespace CodeConverter {

/* Which configuration reader gives the code pages (and language folders). */
enum TDesignType { dtClient, dtServer };
extern const vcl::TEnumInfo DesignTypeInfo;

/* Sets a font's name and character set for a conversion kind: "SimSun"
   with GB2312 (134) for kinds 0, 1 and 4, with Big5 (136) for kinds 2 and
   3. Other kinds, and an absent font, are left alone. */
void SetFontForKind(int kind, vcl::TFont* font);

/* The non-visual converter every window owns (named "VkConverter").

   It reads the code pages once, when it is made, with the reader its
   DesignType names at that moment (a DesignType set afterwards does not
   read again). The library "Vklanguage.dll" is loaded only when the
   interface needs conversion (UIConvertKind not 0); without it every text
   and value conversion gives back its input. */
class TCodeConverter : public vcl::TComponent {
  VCL_CLASS_INFO()
 public:
  /* Reads the settings and, for a non-zero interface kind, loads the
     library; raises platform::Exception "Load Library Vklanguage.dll
     Error!" or "Get Library Procedure Address Error!" when that fails. */
  explicit TCodeConverter(vcl::TComponent* owner);
  ~TCodeConverter() override;

  TDesignType DesignType() const { return designType_; }
  void SetDesignType(TDesignType type) { designType_ = type; }

  /* Copies the five code-page fields from the reader DesignType names. */
  void LoadSettings();

  const std::string& SystemCodePage() const { return systemCodePage_; }
  const std::string& UICodePage() const { return uiCodePage_; }
  const std::string& DBCodePage() const { return dbCodePage_; }
  int UIConvertKind() const { return uiConvertKind_; }
  int DataConvertKind() const { return dataConvertKind_; }
  bool HasTranslator() const { return translator_ != nullptr; }

  /* Converts a window's texts and fonts for the interface (see the .cpp for
     the walk); does nothing without the library. Windows call it once. */
  void ConvertForm(vcl::TCustomForm* form);

  /* A copy of Value converted by Kind (1 Big5 to GB, 2 GB to Big5; other
     kinds, no library, Empty and Null give the copy). Single values and
     the elements of a one-dimensional array come back as byte strings,
     nested arrays are converted in turn; a two-dimensional array keeps its
     Empty and Null elements. Raises EVariantError for an element that
     cannot be read as text (Null inside a one-dimensional array). */
  platform::Variant ConvertValue(int kind, const platform::Variant& value) const;
  /* Program text and database data for the screen; may raise as ConvertValue. */
  platform::Variant TextToUI(const platform::Variant& value) const;
  platform::Variant DataToUI(const platform::Variant& value) const;
  /* The reverse of TextToUI and DataToUI; on any error a copy of Value. */
  platform::Variant UIToText(const platform::Variant& value) const;
  platform::Variant UIToData(const platform::Variant& value) const;

  /* Texts through the library; "" gives "", no library gives the text. */
  std::string GBToBig5(const std::string& text) const;
  std::string Big5ToGB(const std::string& text) const;

  /* The message dialog of the owning window. Empty Text shows nothing and
     returns 0. Six blanks follow the text when the interface or system code
     page is "936"; a minimised owner is restored first; the dialog takes
     the owner's caption, "SimSun" for the interface kind, and (unless the
     interface is English, "437") the Chinese button captions of
     LibStrs::MsgButtonCaption converted with TextToUI. Returns the modal
     result. */
  int MessageDialog(const std::string& text, vcl::TMsgDlgType type,
                    vcl::TMsgDlgButtons buttons) const;

 private:
  std::string ConvertText(int kind, const std::string& text) const;
  void ConvertStrings(int kind, vcl::TObject* strings) const;
  void ConvertListView(int kind, vcl::TCustomListView* view) const;
  void ConvertCommonProperties(vcl::TComponent* component) const;
  void ConvertByClass(vcl::TComponent* component) const;

  TDesignType designType_ = dtClient;
  std::string systemCodePage_ = "936";
  std::string uiCodePage_ = "936";
  std::string dbCodePage_ = "936";
  int uiConvertKind_ = 0;
  int dataConvertKind_ = 0;
  std::unique_ptr<TranslatorU::TTranslator> translator_;
};

}  // namespace CodeConverter
