#pragma once

#include <memory>
#include <string>

#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/TypInfo.h"

/* Stand-ins for controls the runtime meets only by class name and published
   properties: the select panel and the lookup edit of the control set, a
   list box, a status bar. Each publishes what the converter and the base
   window look for under the same names. */
namespace runtime_ui_test {

/* Class "TSelectPanel": ChildHints, BeginWords, FinalWords (counting the
   assignments through their setters), HintWord; owns "ListBox",
   "BeginButton", "FinalButton", "ListButton". */
class TTestSelectPanel : public vcl::TCustomControl {
  VCL_CLASS_INFO()
 public:
  explicit TTestSelectPanel(vcl::TComponent* owner);
  ~TTestSelectPanel() override;

  vcl::TStrings* ChildHints() const { return childHints_.get(); }
  void SetChildHints(vcl::TStrings* list);
  vcl::TStrings* BeginWords() const { return beginWords_.get(); }
  void SetBeginWords(vcl::TStrings* list);
  vcl::TStrings* FinalWords() const { return finalWords_.get(); }
  void SetFinalWords(vcl::TStrings* list);
  const std::string& HintWord() const { return hintWord_; }
  void SetHintWord(const std::string& word) { hintWord_ = word; }

  vcl::TListView* ListBox = nullptr;
  vcl::TSpeedButton* BeginButton = nullptr;
  vcl::TSpeedButton* FinalButton = nullptr;
  vcl::TSpeedButton* ListButton = nullptr;
  int wordSettings = 0;  // assignments of BeginWords and FinalWords

 private:
  std::unique_ptr<vcl::TStringList> childHints_, beginWords_, finalWords_;
  std::string hintWord_;
};

/* Class "TListBox": Style (TListBoxStyle), Items, TitleFont. */
class TTestListBox : public vcl::TWinControl {
  VCL_CLASS_INFO()
 public:
  enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
  explicit TTestListBox(vcl::TComponent* owner);
  ~TTestListBox() override;

  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style) { style_ = style; }
  vcl::TStrings* Items() const { return items_.get(); }
  void SetItems(vcl::TStrings* items) { items_->Assign(items); }
  vcl::TFont* TitleFont() const { return titleFont_.get(); }

 private:
  TListBoxStyle style_ = lbStandard;
  std::unique_ptr<vcl::TStringList> items_;
  std::unique_ptr<vcl::TFont> titleFont_;
};

/* Class "TStatusBar" with Panels of type "TStatusPanels"; each panel
   publishes Text. */
class TTestStatusPanel : public vcl::TCollectionItem {
  VCL_CLASS_INFO()
 public:
  using vcl::TCollectionItem::TCollectionItem;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }

 private:
  std::string text_;
};

class TTestStatusBar : public vcl::TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TTestStatusBar(vcl::TComponent* owner);
  ~TTestStatusBar() override;
  vcl::TCollection* Panels() const { return panels_.get(); }
  TTestStatusPanel* AddPanel(const std::string& text);

 private:
  std::unique_ptr<vcl::TCollection> panels_;
};

/* Class "TVkBtnDBEdit": an edit part with its lookup button "F2Button". */
class TTestLookupEdit : public vcl::TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TTestLookupEdit(vcl::TComponent* owner);
  vcl::TSpeedButton* F2Button = nullptr;
};

}  // namespace runtime_ui_test
