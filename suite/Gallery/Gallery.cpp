// The gallery window: every control of the control set on two pages.

#include "suite/Gallery/Gallery.h"

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <charconv>
#include <exception>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>

#include "platform/core/CodePage.h"
#include "runtime/TranslatorU.h"

namespace Gallery {

namespace {

std::unique_ptr<vcl::TStringList> Lines(std::initializer_list<const char*> texts) {
  auto list = std::make_unique<vcl::TStringList>();
  for (const char* text : texts) list->Add(text);
  return list;
}

template <class T>
T* Make(vcl::TComponent* owner, vcl::TWinControl* parent, const char* name) {
  auto* control = new T(owner);
  control->SetName(name);
  control->SetParent(parent);
  return control;
}

vcl::TGroupBox* Group(vcl::TComponent* owner, vcl::TWinControl* parent, const char* name,
                      const char* caption, int left, int top, int width, int height) {
  auto* group = Make<vcl::TGroupBox>(owner, parent, name);
  group->SetCaption(caption);
  group->SetBounds(left, top, width, height);
  return group;
}

// How one select panel of the first page is set up.
struct PanelSetup {
  const char* Name;
  const char* Caption;
  SelectPnl::TSelectStyle Style;
  bool UseVertical;
  bool UserChoice;
  SelectPnl::TValueType ValueType;
  int GlyphIndex;
  int Left, Top, Width, Height;
};

constexpr char kDateMask[] = "!9999/99/99;1;_";

const PanelSetup kPanels[] = {
    {"sp01", "单据日期（区间，横排）", SelectPnl::sp_Range, false, true, SelectPnl::vt_Date, 9, 8,
     6, 353, 45},
    {"sp02", "进货数量（区间，直排）", SelectPnl::sp_Range, true, true, SelectPnl::vt_Number, 44, 8,
     57, 353, 72},
    {"sp03", "供应商（多选）", SelectPnl::sp_Discrete, false, true, SelectPnl::vt_String, 61, 8,
     135, 353, 130},
    {"sp04", "验收日期（自选：区间）", SelectPnl::sp_UserChoice, false, true, SelectPnl::vt_Date, 9,
     368, 6, 353, 97},
    {"sp05", "进货单号（自选：多选）", SelectPnl::sp_UserChoice, false, false, SelectPnl::vt_Number,
     8, 368, 109, 353, 156},
    {"sp06", "仓库（区间，禁用）", SelectPnl::sp_Range, false, true, SelectPnl::vt_String, 63, 8,
     271, 353, 45},
    {"sp07", "币别（区间，无开窗按钮）", SelectPnl::sp_Range, false, true, SelectPnl::vt_String, 8,
     368, 271, 353, 45},
};

}  // namespace

std::string GBToBig5Text(const std::string& gbText) {
  try {
    TranslatorU::TTranslator translator;
    return translator.GBToBig5(gbText);
  } catch (const std::exception&) {
    return platform::WideToBytes(platform::BytesToWide(gbText, platform::CP_GBK),
                                 platform::CP_BIG5);
  }
}

const vcl::TClassInfo* TfrmGallery::StaticClassInfo() {
  using P = vcl::PropBuilder<TfrmGallery>;
  static const vcl::TClassInfo info("TfrmGallery", VKForm::TVKForm::StaticClassInfo(), {},
                                    {
                                        P::PublishedMethod<&TfrmGallery::FormShow>("FormShow"),
                                        P::PublishedMethod<&TfrmGallery::FormClose>("FormClose"),
                                    });
  return &info;
}

TfrmGallery::TfrmGallery(vcl::TComponent* owner) : VKForm::TVKForm(owner) {
  SetName("frmGallery");
  SetBounds(Left(), Top(), 760, 520);
  BuildHeader();
  pgGallery = Make<vcl::TPageControl>(this, this, "pgGallery");
  pgGallery->SetBounds(8, 36, 736, 448);
  tsPanels = Make<vcl::TTabSheet>(this, pgGallery, "tsPanels");
  tsPanels->SetPageControl(pgGallery);
  tsPanels->SetCaption("选择面板");
  tsControls = Make<vcl::TTabSheet>(this, pgGallery, "tsControls");
  tsControls->SetPageControl(pgGallery);
  tsControls->SetCaption("控件");
  pgGallery->SetActivePageIndex(0);
  BuildPanels();
  BuildControls();
  OnShow = vcl::MakeEvent<&TfrmGallery::FormShow>(this);
  OnClose = vcl::MakeEvent<&TfrmGallery::FormClose>(this);
}

TfrmGallery::~TfrmGallery() = default;

void TfrmGallery::FormShow(vcl::TObject* sender) {
  VKForm::TVKForm::FormShow(sender);
  SetCaption(kCaption);
  ConvertOnce();
}

void TfrmGallery::FormClose(vcl::TObject*, vcl::TCloseAction& action) { action = vcl::caFree; }

void TfrmGallery::BuildHeader() {
  lblGB = Make<vcl::TLabel>(this, this, "lblGB");
  lblGB->SetParentFont(false);
  lblGB->Font()->SetName("宋体");
  lblGB->Font()->SetHeight(-16);
  lblGB->Font()->SetCharset(platform::GB2312_CHARSET);
  lblGB->SetCaption(kGBSample);
  lblGB->SetBounds(12, 10, lblGB->Width(), lblGB->Height());

  // Big5 bytes shown through a Big5 font: the label decodes its caption in
  // the code page of its font's character set.
  lblBig5 = Make<vcl::TLabel>(this, this, "lblBig5");
  lblBig5->SetParentFont(false);
  lblBig5->Font()->SetName("MingLiU");
  lblBig5->Font()->SetHeight(-16);
  lblBig5->Font()->SetCharset(platform::CHINESEBIG5_CHARSET);
  lblBig5->Font()->SetColor(vcl::clNavy);
  lblBig5->SetCaption(GBToBig5Text(kGBSample));
  lblBig5->SetBounds(384, 10, lblBig5->Width(), lblBig5->Height());
}

void TfrmGallery::BuildPanels() {
  SelectPnl::TSelectPanel** panels[] = {&sp01, &sp02, &sp03, &sp04, &sp05, &sp06, &sp07};
  for (size_t i = 0; i < std::size(kPanels); ++i) {
    const PanelSetup& s = kPanels[i];
    auto* panel = new SelectPnl::TSelectPanel(this);
    // As a window's resource loads it: the style keeps the size given.
    panel->BeginLoad();
    panel->SetName(s.Name);
    panel->SetParent(tsPanels);
    panel->SetCaption(s.Caption);
    panel->SetBeginWords(Lines({"起", "起"}).get());
    panel->SetFinalWords(Lines({"止", "止"}).get());
    panel->SetHintWord("区间选择");
    panel->SetStyle(s.Style);
    panel->SetUserChoice(s.UserChoice);
    panel->SetUseVertical(s.UseVertical);
    panel->SetValueType(s.ValueType);
    panel->SetGlyphIndex(s.GlyphIndex);
    if (s.ValueType == SelectPnl::vt_Date) {
      panel->SetDateType(SelectPnl::dt_YYYYMMDD);
      panel->SetEditMask(kDateMask);
    }
    panel->SetBounds(s.Left, s.Top, s.Width, s.Height);
    panel->EndLoad();
    *panels[i] = panel;
  }

  sp01->edBegin()->SetText("2024/03/01");
  sp01->edFinal()->SetText("2024/03/31");
  sp02->edBegin()->SetText("10");
  sp02->edFinal()->SetText("500");
  sp03->SetShowColumnHeader(true);
  sp03->SetColumnCaptions(Lines({"编号", "名称"}).get());
  for (auto [code, name] : {std::pair{"S001", "华东五金"}, std::pair{"S002", "联合电子"},
                            std::pair{"S003", "长城包装"}, std::pair{"S010", "永安物流"}})
    sp03->ListBox()->AddRow({code, name});
  sp04->edBegin()->SetText("2024/01/01");
  sp04->edFinal()->SetText("2024/12/31");
  for (const char* number : {"20240301001", "20240301002", "20240305017"})
    sp05->ListBox()->AddRow({number});
  sp06->edBegin()->SetText("W01");
  sp06->edFinal()->SetText("W09");
  sp06->SetEnabled(false);
  sp07->SetCanOpenWin(false);
  sp07->edBegin()->SetText("NTD");
  sp07->edFinal()->SetText("USD");
}

void TfrmGallery::BuildControls() {
  // Glyph check boxes: the three states, and a disabled one.
  vcl::TGroupBox* grpCheck = Group(this, tsControls, "grpCheck", "TBitCheckBox", 8, 6, 230, 112);
  struct {
    BtChkBox::TBitCheckBox** Box;
    const char* Name;
    const char* Caption;
    vcl::TCheckBoxState State;
    bool Enabled;
  } const boxes[] = {
      {&chkUnchecked, "chkUnchecked", "未选（&U）", vcl::cbUnchecked, true},
      {&chkChecked, "chkChecked", "已选（&C）", vcl::cbChecked, true},
      {&chkGrayed, "chkGrayed", "不确定（&G）", vcl::cbGrayed, true},
      {&chkDisabled, "chkDisabled", "已选，禁用", vcl::cbChecked, false},
  };
  int top = 22;
  for (const auto& b : boxes) {
    auto* box = Make<BtChkBox::TBitCheckBox>(this, grpCheck, b.Name);
    box->SetCaption(b.Caption);
    box->SetAllowGrayed(b.State == vcl::cbGrayed);
    box->SetState(b.State);
    box->SetEnabled(b.Enabled);
    box->SetBounds(12, top, 200, 17);
    *b.Box = box;
    top += 22;
  }

  // Glyph buttons of the library, one disabled, and a lookup button bound
  // to an edit.
  vcl::TGroupBox* grpButtons =
      Group(this, tsControls, "grpButtons", "TGSpeedButton / TF2Button", 8, 124, 230, 110);
  const int glyphs[] = {4, 8, 9, 44, 47, 61, 63, 12};
  int left = 10;
  for (int glyph : glyphs) {
    const std::string name = "btnGlyph" + std::to_string(glyph);
    auto* button = Make<GSpdBtn::TGSpeedButton>(this, grpButtons, name.c_str());
    button->SetBounds(left, 22, 25, 25);
    button->SetGlyphIndex(glyph);
    glyphButtons.push_back(button);
    left += 26;
  }
  auto* disabled = Make<GSpdBtn::TGSpeedButton>(this, grpButtons, "btnGlyphDisabled");
  disabled->SetBounds(10, 52, 25, 25);
  disabled->SetGlyphIndex(4);
  disabled->SetEnabled(false);
  glyphButtons.push_back(disabled);
  auto* flat = Make<GSpdBtn::TGSpeedButton>(this, grpButtons, "btnGlyphFlat");
  flat->SetBounds(36, 52, 25, 25);
  flat->SetFlat(true);
  flat->SetGlyphIndex(8);
  glyphButtons.push_back(flat);
  edLookup = Make<vcl::TEdit>(this, grpButtons, "edLookup");
  edLookup->SetBounds(72, 54, 110, 21);
  edLookup->SetText("S001");
  btnLookup = Make<F2Button::TF2Button>(this, grpButtons, "btnLookup");
  btnLookup->SetF2Control(edLookup);

  // Attached labels in the four positions, each beside an edit of its own.
  vcl::TGroupBox* grpLabels = Group(this, tsControls, "grpLabels", "TDBLabel", 246, 6, 230, 228);
  struct {
    const char* Edit;
    const char* Label;
    const char* Caption;
    DBLabel::TPos Pos;
    int Left, Top;
  } const attached[] = {
      {"edTop", "lblTop", "上方 psTop", DBLabel::psTop, 60, 42},
      {"edLeft", "lblLeft", "左方", DBLabel::psLeft, 60, 82},
      {"edRight", "lblRight", "右方", DBLabel::psRight, 60, 122},
      {"edBottom", "lblBottom", "下方 psBottom", DBLabel::psBottom, 60, 162},
  };
  for (const auto& a : attached) {
    auto* edit = Make<vcl::TEdit>(this, grpLabels, a.Edit);
    edit->SetBounds(a.Left, a.Top, 110, 21);
    auto* label = Make<DBLabel::TDBLabel>(this, grpLabels, a.Label);
    label->SetCaption(a.Caption);
    label->SetPos(a.Pos);
    label->SetFocusControl(edit);
    labelledEdits.push_back(edit);
    dbLabels.push_back(label);
  }

  // The labelled edits.
  vcl::TGroupBox* grpEdits =
      Group(this, tsControls, "grpEdits", "TVkEdit/TVkDBEdit/TVkBtnDBEdit", 484, 6, 236, 130);
  edVk = Make<VrkEdit::TVkEdit>(this, grpEdits, "edVk");
  edVk->SetCaption("名称");
  edVk->SetBounds(64, 22, 150, 21);
  edVk->SetText("进货验收单");
  edVkDB = Make<VrkEdit::TVkDBEdit>(this, grpEdits, "edVkDB");
  edVkDB->SetCaption("数据栏位（上方）");
  edVkDB->SetLabelPosition(VrkEdit::lpAbove);
  edVkDB->SetBounds(64, 64, 150, 21);
  edVkBtn = Make<VrkEdit::TVkBtnDBEdit>(this, grpEdits, "edVkBtn");
  edVkBtn->SetCaption("供应商");
  edVkBtn->SetBounds(64, 96, 125, 21);
  edVkBtn->SetText("S002");
  edVkBtn->SetButtonHint("供应商信息查询");

  // Spin edit and radio buttons.
  vcl::TGroupBox* grpRadio =
      Group(this, tsControls, "grpRadio", "TVkRadioButton / TVkSpinEdit", 484, 142, 236, 92);
  const char* radioCaptions[] = {"立即产生（&N）", "排入队列（&Q）", "定时产生（&T）"};
  for (int i = 0; i < 3; ++i) {
    const std::string name = "rbMode" + std::to_string(i + 1);
    auto* radio = Make<VkRadioButton::TVkRadioButton>(this, grpRadio, name.c_str());
    radio->SetCaption(radioCaptions[i]);
    radio->SetBounds(12, 20 + i * 22, 120, 17);
    radioButtons.push_back(radio);
  }
  radioButtons[1]->SetChecked(true);
  auto* spinLabel = Make<vcl::TLabel>(this, grpRadio, "lblCount");
  spinLabel->SetCaption("次数");
  spinLabel->SetBounds(140, 24, spinLabel->Width(), spinLabel->Height());
  seCount = Make<VkSpin::TVkSpinEdit>(this, grpRadio, "seCount");
  seCount->SetMinValue(1);
  seCount->SetMaxValue(99);
  seCount->SetBounds(140, 42, 70, 22);
  seCount->SetValue(12);

  // A two-column radio group.
  rgColumns = Make<VkRadioGroup::TVkRadioGroup>(this, tsControls, "rgColumns");
  rgColumns->SetCaption("TVkRadioGroup（两栏）");
  rgColumns->SetColumns(2);
  for (const char* item : {"单据日", "验收日", "过账日", "到货日"}) rgColumns->Items()->Add(item);
  rgColumns->SetItemIndex(1);
  rgColumns->SetBounds(8, 240, 230, 76);

  // The page control with drawn tabs.
  pgDrawn = Make<ExtPage::TExtPageControl>(this, tsControls, "pgDrawn");
  pgDrawn->SetBounds(246, 240, 474, 170);
  const char* pages[][2] = {{"tsGeneral", "一般"}, {"tsDetail", "明细"}, {"tsNote", "备注"}};
  for (const auto& [name, caption] : pages) {
    auto* page = Make<vcl::TTabSheet>(this, pgDrawn, name);
    page->SetPageControl(pgDrawn);
    page->SetCaption(caption);
    auto* note = new vcl::TLabel(this);
    note->SetParent(page);
    note->SetCaption(std::string("TExtPageControl：") + caption + "页");
    note->SetBounds(12, 12, note->Width(), note->Height());
  }
  pgDrawn->SetActivePageIndex(0);
}

bool ParseOptions(const std::vector<std::string>& args, TOptions& options, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg != "--screenshot" && arg != "--page") {
      error = "unknown option " + arg;
      return false;
    }
    if (i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if (arg == "--screenshot") {
      if (value.empty()) {
        error = "--screenshot needs a file name";
        return false;
      }
      options.Screenshot = value;
      continue;
    }
    int page = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), page);
    if (ec != std::errc() || end != value.data() + value.size() || page < 1) {
      error = "--page needs a page number from 1, not " + value;
      return false;
    }
    options.Page = page;
  }
  return true;
}

bool SaveWindowImage(vcl::TCustomForm* form, const std::string& file, std::string& error) {
  if (form == nullptr || !form->HandleAllocated()) {
    error = "the window has not been made";
    return false;
  }
  const QPixmap image = form->Handle()->grab();
  if (image.isNull()) {
    error = "the window could not be rendered";
    return false;
  }
  if (!image.save(QString::fromStdString(file), "PNG")) {
    error = "cannot write " + file;
    return false;
  }
  return true;
}

}  // namespace Gallery
