// The job window: components, creation and registration, the system page's
// layout, the generation time, notification, the OK menu, the job request's
// environment and periodic blocks, submission, Cancel, the rights request
// and the scheme property list.

#include "jobs/BaseOpt.h"

#include <QPoint>
#include <QWidget>
#include <cstdio>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/SelectPnl.h"
#include "controls/VkRadioButton.h"
#include "controls/VkRadioGroup.h"
#include "controls/VkSpin.h"
#include "outside/AppServer.h"
#include "platform/core/DateTime.h"
#include "platform/core/SysUtils.h"
#include "platform/remote/SocketConnection.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "runtime/LibStrs.h"

namespace BaseOpt {

using platform::Variant;

// ---------------------------------------------------------------------------
// Free functions.

std::string EditRecipients(vcl::TComponent*, const std::string& list, const std::string&,
                           const std::string&) {
  // STUB: the recipients dialog is not built yet; the list stays as it is.
  return list;
}

std::string DefaultRecipientXml(const std::string& userID) {
  return "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"" + userID +
         "\" Name=\"\" Type=\"5\" Msg=\"YNN\"/></Root>";
}

std::string NextPeriodDate(const std::string&, const Variant&) {
  // STUB: the first run date of a schedule is not computed yet.
  return "";
}

Variant ApplyDynamicDates(const Variant& block, const std::string&) {
  // STUB: the date-shift records are not applied yet; the first run keeps
  // the values as entered.
  return block[1];
}

namespace {

// The scheme dialog: the name the user saves the scheme under ("" when
// cancelled) and whether an existing scheme of that name is replaced.
// STUB: the dialog is not built yet, so no name comes back.
std::string ShowSchemeDialog(const std::string& /*dateFields*/, vcl::TComponent* /*owner*/,
                             int /*ownDateFields*/, bool& replace) {
  replace = false;
  return "";
}

// A small glyph drawn on a transparent background (the bottom-left pixel's
// colour): a check mark, or a down arrow.
std::unique_ptr<vcl::TBitmap> MakeGlyph(bool arrow, vcl::TColor colour) {
  auto bitmap = std::make_unique<vcl::TBitmap>();
  bitmap->SetSize(arrow ? 8 : 16, 16);
  vcl::TCanvas* canvas = bitmap->Canvas();
  canvas->Brush()->SetColor(vcl::clOlive);
  canvas->FillRect({0, 0, bitmap->Width(), bitmap->Height()});
  if (arrow) {
    for (int row = 0; row < 4; ++row)
      for (int x = row; x < 7 - row; ++x) canvas->SetPixel(x, 6 + row, colour);
  } else {
    const int points[][2] = {{3, 8}, {4, 9},  {5, 10}, {6, 11}, {7, 10}, {8, 9},
                             {9, 8}, {10, 7}, {11, 6}, {12, 5}, {13, 4}};
    for (const auto& p : points)
      for (int d = 0; d < 3; ++d) canvas->SetPixel(p[0], p[1] - d, colour);
  }
  return bitmap;
}

template <class T>
T* Make(vcl::TComponent* owner, const char* name, vcl::TWinControl* parent) {
  auto* c = new T(owner);
  c->SetName(name);
  c->SetParent(parent);
  return c;
}

vcl::TLabel* MakeLabel(vcl::TComponent* owner, const char* name, vcl::TWinControl* parent,
                       const char* caption, int left, int top) {
  auto* label = Make<vcl::TLabel>(owner, name, parent);
  label->SetCaption(caption);
  label->SetBounds(left, top, label->Width(), label->Height());
  return label;
}

VkSpin::TVkSpinEdit* MakeSpin(vcl::TComponent* owner, const char* name, vcl::TWinControl* parent,
                              int low, int high, int value, int left, int top, int width) {
  auto* spin = Make<VkSpin::TVkSpinEdit>(owner, name, parent);
  spin->SetMinValue(low);
  spin->SetMaxValue(high);
  spin->SetValue(value);
  spin->SetBounds(left, top, width, 21);
  return spin;
}

vcl::TComboBox* MakeList(vcl::TComponent* owner, const char* name, vcl::TWinControl* parent,
                         std::initializer_list<const char*> items, int left, int top, int width) {
  auto* combo = Make<vcl::TComboBox>(owner, name, parent);
  combo->SetStyle(vcl::csDropDownList);
  for (const char* item : items) combo->Items()->Add(item);
  combo->SetItemIndex(0);
  combo->SetBounds(left, top, width, 21);
  return combo;
}

vcl::TRadioButton* MakeRadio(vcl::TComponent* owner, const char* name, vcl::TWinControl* parent,
                             const char* caption, int left, int top, int width) {
  auto* radio = Make<vcl::TRadioButton>(owner, name, parent);
  radio->SetCaption(caption);
  radio->SetBounds(left, top, width, 17);
  return radio;
}

BtChkBox::TBitCheckBox* MakeCheck(vcl::TComponent* owner, const char* name,
                                  vcl::TWinControl* parent, const char* caption, int left, int top,
                                  int width) {
  auto* check = Make<BtChkBox::TBitCheckBox>(owner, name, parent);
  check->SetCaption(caption);
  check->SetBounds(left, top, width, 17);
  return check;
}

vcl::TPanel* MakePanel(vcl::TComponent* owner, const char* name, vcl::TWinControl* parent, int left,
                       int top, int width, int height) {
  auto* panel = Make<vcl::TPanel>(owner, name, parent);
  panel->SetCaption("");
  panel->SetBevelOuter(vcl::bvNone);
  panel->SetBounds(left, top, width, height);
  return panel;
}

}  // namespace

// ---------------------------------------------------------------------------
// Class information.

const vcl::TClassInfo* TfrmBaseOpt::StaticClassInfo() {
  using P = vcl::PropBuilder<TfrmBaseOpt>;
  static const vcl::TClassInfo info("TfrmBaseOpt", BaseGene::TfrmBaseGene::StaticClassInfo(), {}, {
    P::PublishedMethod<&TfrmBaseOpt::FormCreate>("FormCreate"),
        P::PublishedMethod<&TfrmBaseOpt::FormShow>("FormShow"),
        P::PublishedMethod<&TfrmBaseOpt::FormDestroy>("FormDestroy"),
        P::PublishedMethod<&TfrmBaseOpt::btnOkClick>("btnOkClick"),
        P::PublishedMethod<&TfrmBaseOpt::btnCancelClick>("btnCancelClick"),
        P::PublishedMethod<&TfrmBaseOpt::rdoQueueClick>("rdoQueueClick"),
        P::PublishedMethod<&TfrmBaseOpt::rdoExceptTimeClick>("rdoExceptTimeClick"),
        P::PublishedMethod<&TfrmBaseOpt::edDateEnter>("edDateEnter"),
        P::PublishedMethod<&TfrmBaseOpt::edDateExit>("edDateExit"),
        P::PublishedMethod<&TfrmBaseOpt::btnSpdClick>("btnSpdClick"),
        P::PublishedMethod<&TfrmBaseOpt::miOKExitClick>("miOKExitClick"),
        P::PublishedMethod<&TfrmBaseOpt::miOKNoExitClick>("miOKNoExitClick"),
#if !VK_COMPAT_BUILD
        P::PublishedMethod<&TfrmBaseOpt::chkNotifyClick>("chkNotifyClick"),
        P::PublishedMethod<&TfrmBaseOpt::btnNotifyClick>("btnNotifyClick"),
#endif
        P::PublishedMethod<&TfrmBaseOpt::btnInsertClick>("btnInsertClick"),
        P::PublishedMethod<&TfrmBaseOpt::pgOptionChange>("pgOptionChange"),
        P::PublishedMethod<&TfrmBaseOpt::btnPeriodClick>("btnPeriodClick"),
  });
  return &info;
}

// ---------------------------------------------------------------------------
// Construction.

TfrmBaseOpt::TfrmBaseOpt(vcl::TComponent* owner) : BaseGene::TfrmBaseGene(owner) {
  SetName("frmBaseOpt");
  DynamicFieldRules = std::make_unique<vcl::TStringList>();
  BuildComponents();

  OnCreate = vcl::MakeEvent<&TfrmBaseOpt::FormCreate>(this);
  OnShow = vcl::MakeEvent<&TfrmBaseOpt::FormShow>(this);
  OnDestroy = vcl::MakeEvent<&TfrmBaseOpt::FormDestroy>(this);
  btnOk->OnClick = vcl::MakeEvent<&TfrmBaseOpt::btnOkClick>(this);
  btnCancel->OnClick = vcl::MakeEvent<&TfrmBaseOpt::btnCancelClick>(this);
  btnInsert->OnClick = vcl::MakeEvent<&TfrmBaseOpt::btnInsertClick>(this);
  pgOption->OnChange = vcl::MakeEvent<&TfrmBaseOpt::pgOptionChange>(this);
}

TfrmBaseOpt::~TfrmBaseOpt() = default;

void TfrmBaseOpt::BuildComponents() {
  // ---- System page: generation time ----
  grpGenTime = Make<vcl::TGroupBox>(this, "grpGenTime", tsOption2);
  grpGenTime->SetCaption("生成时间");
  grpGenTime->SetBounds(8, 41, 220, 115);
  rdoRealTime = MakeRadio(this, "rdoRealTime", grpGenTime, "实时生成信息", 5, 12, 150);
  rdoRealTime->SetHint("信息需要立即生成");
  rdoQueue = MakeRadio(this, "rdoQueue", grpGenTime, "放入工作队列", 5, 28, 150);
  rdoQueue->SetHint("排入工作队列等候运行");
  rdoQueue->SetChecked(true);
  rdoExceptTime = MakeRadio(this, "rdoExceptTime", grpGenTime, "在下列时间生成信息", 5, 43, 150);
  rdoExceptTime->SetHint("按设置时间生成报表");
  const vcl::TNotifyEvent queueClick = vcl::MakeEvent<&TfrmBaseOpt::rdoQueueClick>(this);
  rdoQueue->OnClick = queueClick;
  rdoRealTime->OnClick = queueClick;
  rdoExceptTime->OnClick = vcl::MakeEvent<&TfrmBaseOpt::rdoExceptTimeClick>(this);

  pnlTime = MakePanel(this, "pnlTime", grpGenTime, 15, 60, 200, 50);
  pnlTime->SetEnabled(false);
  edDate = Make<vcl::TMaskEdit>(this, "edDate", pnlTime);
  edDate->SetBounds(1, 1, 85, 21);
  edDate->SetHint("[F2]日期快手");
  edDate->SetText("");
  edDate->OnEnter = vcl::MakeEvent<&TfrmBaseOpt::edDateEnter>(this);
  edDate->OnExit = vcl::MakeEvent<&TfrmBaseOpt::edDateExit>(this);
  btnDate = Make<F2Button::TF2Button>(this, "btnDate", pnlTime);
  btnDate->SetHint("日期快手");
  btnDate->SetGlyphIndex(9);
  btnDate->SetF2Control(edDate);
  edHour = MakeSpin(this, "edHour", pnlTime, 0, 23, 0, 1, 27, 35);
  edHour->SetHint("时间: 时");
  edMin = MakeSpin(this, "edMin", pnlTime, 0, 59, 0, 64, 27, 35);
  edMin->SetHint("时间: 分");
  edSec = MakeSpin(this, "edSec", pnlTime, 0, 59, 0, 130, 27, 35);
  edSec->SetHint("时间: 秒");
  for (VkSpin::TVkSpinEdit* spin : {edHour, edMin, edSec}) spin->SetMaxLength(2);
  lalHour = MakeLabel(this, "lalHour", pnlTime, "时", 36, 32);
  lblMin = MakeLabel(this, "lblMin", pnlTime, "分", 100, 32);
  lblSec = MakeLabel(this, "lblSec", pnlTime, "秒", 165, 32);

  // ---- System page: notification ----
#if !VK_COMPAT_BUILD
  chkNotify = MakeCheck(this, "chkNotify", tsOption2, "完成后通知", 10, 162, 97);
  chkNotify->OnClick = vcl::MakeEvent<&TfrmBaseOpt::chkNotifyClick>(this);
  btnNotify = Make<F2Button::TF2Button>(this, "btnNotify", tsOption2);
  btnNotify->SetHint("选择需要通知的用户");
  btnNotify->SetBounds(108, 156, 23, 23);
  btnNotify->SetEnabled(false);
  btnNotify->OnClick = vcl::MakeEvent<&TfrmBaseOpt::btnNotifyClick>(this);
#endif
  grpAlarm = Make<vcl::TGroupBox>(this, "grpAlarm", tsOption2);
  grpAlarm->SetCaption("通知方式");
  grpAlarm->SetBounds(8, 155, 140, 50);
  chkVkPager = MakeCheck(this, "chkVkPager", grpAlarm, "B.B.CALL", 8, 30, 97);
  chkAlarm = MakeCheck(this, "chkAlarm", grpAlarm, "显示讯息", 8, 14, 97);
#if !VK_COMPAT_BUILD
  grpAlarm->SetVisible(false);
  chkVkPager->SetVisible(false);
  chkAlarm->SetVisible(false);
#endif

  // ---- Bottom panel: the periodic toggle and the OK menu ----
  btnOk->SetLeft(btnOk->Left() - 16);
  btnPeriod = Make<vcl::TSpeedButton>(this, "btnPeriod", Panel1);
  btnPeriod->SetCaption("周期性");
  btnPeriod->SetHint("周期性工作设置");
  btnPeriod->SetGroupIndex(2);
  btnPeriod->SetAllowAllUp(true);
  btnPeriod->SetBounds(8, 9, 75, 25);
  btnPeriod->OnClick = vcl::MakeEvent<&TfrmBaseOpt::btnPeriodClick>(this);
  btnSpd = Make<vcl::TSpeedButton>(this, "btnSpd", Panel1);
  btnSpd->SetBounds(btnOk->Left() + btnOk->Width(), btnOk->Top(), 16, btnOk->Height());
  btnSpd->SetGlyph(MakeGlyph(true, vcl::clBlack).get());
  btnSpd->SetVisible(false);
  btnSpd->OnClick = vcl::MakeEvent<&TfrmBaseOpt::btnSpdClick>(this);

  pmOKExit = new vcl::TPopupMenu(this);
  pmOKExit->SetName("pmOKExit");
  miOKExit = new vcl::TMenuItem(this);
  miOKExit->SetName("miOKExit");
  miOKExit->SetCaption("处理后直接退出作业(&C)");
  miOKExit->OnClick = vcl::MakeEvent<&TfrmBaseOpt::miOKExitClick>(this);
  pmOKExit->Items()->Add(miOKExit);
  miOKNoExit = new vcl::TMenuItem(this);
  miOKNoExit->SetName("miOKNoExit");
  miOKNoExit->SetCaption("处理后并不退出作业(&B)");
  miOKNoExit->OnClick = vcl::MakeEvent<&TfrmBaseOpt::miOKNoExitClick>(this);
  pmOKExit->Items()->Add(miOKNoExit);

#if !VK_COMPAT_BUILD
  btnOK01 = Make<vcl::TBitBtn>(this, "btnOK01", Panel1);
  btnOK02 = Make<vcl::TBitBtn>(this, "btnOK02", Panel1);
  for (vcl::TBitBtn* button : {btnOK01, btnOK02}) {
    button->SetCaption("确定");
    button->SetBounds(btnOk->Left(), btnOk->Top(), btnOk->Width(), btnOk->Height());
    button->SetVisible(false);
  }
  btnOK02->SetGlyph(MakeGlyph(false, vcl::clGreen).get());
  btnOK02->OnClick = vcl::MakeEvent<&TfrmBaseOpt::btnOkClick>(this);
#else
  // The menu draws its images from the window's image list: image 5 says
  // "submit and leave", image 6 "submit and stay". The list's first five
  // images are the scheme panel's; empty places are kept for any it lacks.
  const std::unique_ptr<vcl::TBitmap> blank = std::make_unique<vcl::TBitmap>();
  blank->SetSize(ImageList1->Width(), ImageList1->Height());
  while (ImageList1->Count() < 5) ImageList1->Add(blank.get());
  if (ImageList1->Count() == 5) {
    ImageList1->AddMasked(MakeGlyph(false, vcl::clGreen).get(), vcl::clOlive);
    ImageList1->AddMasked(MakeGlyph(false, vcl::clBlue).get(), vcl::clOlive);
  }
  pmOKExit->SetImages(ImageList1);
  miOKExit->SetImageIndex(5);
  miOKNoExit->SetImageIndex(6);
#endif

  // ---- The periodic page ----
  tsPeriodOption = new vcl::TTabSheet(this);
  tsPeriodOption->SetName("tsPeriodOption");
  tsPeriodOption->SetPageControl(pgOption);
  tsPeriodOption->SetCaption("周期性设置");
  tsPeriodOption->SetTabVisible(false);

  lblPeriod1 = MakeLabel(this, "lblPeriod1", tsPeriodOption, "运行时间", 8, 12);
  sePeriodHour = MakeSpin(this, "sePeriodHour", tsPeriodOption, 0, 23, 0, 64, 8, 41);
  lblPeriod2 = MakeLabel(this, "lblPeriod2", tsPeriodOption, "时", 108, 12);
  sePeriodMin = MakeSpin(this, "sePeriodMin", tsPeriodOption, 0, 59, 0, 126, 8, 41);
  lblPeriod3 = MakeLabel(this, "lblPeriod3", tsPeriodOption, "分", 170, 12);

  gbCycleStyle = Make<vcl::TGroupBox>(this, "gbCycleStyle", tsPeriodOption);
  gbCycleStyle->SetCaption("循环模式");
  gbCycleStyle->SetBounds(8, 34, 370, 100);
  rdoEveryday = MakeRadio(this, "rdoEveryday", gbCycleStyle, "每天", 8, 16, 90);
  rdoEveryday->SetChecked(true);
  rdoEveryWeek = MakeRadio(this, "rdoEveryWeek", gbCycleStyle, "每周", 8, 34, 90);
  rdoEveryMonth = MakeRadio(this, "rdoEveryMonth", gbCycleStyle, "每月", 8, 52, 90);
#if !VK_COMPAT_BUILD
  rbEveryHour = MakeRadio(this, "rbEveryHour", gbCycleStyle, "每小时", 8, 70, 90);
#endif

  pnDay = MakePanel(this, "pnDay", gbCycleStyle, 110, 13, 250, 80);
  lblPeriod4 = MakeLabel(this, "lblPeriod4", pnDay, "每", 4, 6);
  meDay = MakeSpin(this, "meDay", pnDay, 1, 999, 1, 22, 2, 50);
  meDay->SetMaxLength(3);
  lblPeriod5 = MakeLabel(this, "lblPeriod5", pnDay, "天", 76, 6);

  pnWeek = MakePanel(this, "pnWeek", gbCycleStyle, 110, 13, 250, 80);
  pnWeek->SetVisible(false);
  lblPeriod6 = MakeLabel(this, "lblPeriod6", pnWeek, " 重复于每", 4, 6);
  meWeek = MakeSpin(this, "meWeek", pnWeek, 1, 99, 1, 66, 2, 45);
  lblPeriod7 = MakeLabel(this, "lblPeriod7", pnWeek, "周的", 115, 6);
  cboDayofWeek =
      MakeList(this, "cboDayofWeek", pnWeek,
               {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"}, 66, 30, 90);

  pnMonth = MakePanel(this, "pnMonth", gbCycleStyle, 110, 13, 250, 80);
  pnMonth->SetVisible(false);
  rdomonth_1 = MakeRadio(this, "rdomonth_1", pnMonth, "每", 4, 4, 34);
  rdomonth_1->SetChecked(true);
  meMonth_M1 = MakeSpin(this, "meMonth_M1", pnMonth, 1, 99, 1, 40, 2, 45);
  lblPeriod8 = MakeLabel(this, "lblPeriod8", pnMonth, "个月的", 88, 6);
  meMonth_D = MakeSpin(this, "meMonth_D", pnMonth, 1, 31, 1, 132, 2, 45);
  lblPeriod9 = MakeLabel(this, "lblPeriod9", pnMonth, "日", 180, 6);
  rdomonth_2 = MakeRadio(this, "rdomonth_2", pnMonth, "每", 4, 32, 34);
  meMonth_M2 = MakeSpin(this, "meMonth_M2", pnMonth, 1, 99, 1, 40, 30, 45);
  lblPeriod10 = MakeLabel(this, "lblPeriod10", pnMonth, "个月的", 88, 34);
  cbo1Month_M2 = MakeList(this, "cbo1Month_M2", pnMonth,
                          {"第 1 个", "第 2 个", "第 3 个", "第 4 个", "最后"}, 132, 30, 60);
  cbo2Month_M2 =
      MakeList(this, "cbo2Month_M2", pnMonth,
               {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"}, 132, 56, 60);

#if !VK_COMPAT_BUILD
  pnEveryHour = MakePanel(this, "pnEveryHour", gbCycleStyle, 103, 70, 250, 24);
  pnEveryHour->SetVisible(false);
  lblEveryHour = MakeLabel(this, "lblEveryHour", pnEveryHour, "每隔", 4, 4);
  edEveryHour = Make<vcl::TEdit>(this, "edEveryHour", pnEveryHour);
  edEveryHour->SetBounds(34, 0, 50, 21);
  edEveryHour->SetMaxLength(6);
  lblEveryHourEx = MakeLabel(this, "lblEveryHourEx", pnEveryHour, "小时处理一次数据", 90, 4);
#endif

  gbCycleRang = Make<vcl::TGroupBox>(this, "gbCycleRang", tsPeriodOption);
  gbCycleRang->SetCaption("循环范围");
  gbCycleRang->SetBounds(8, 138, 370, 90);
  lblPeriod11 = MakeLabel(this, "lblPeriod11", gbCycleRang, "开始日期", 8, 20);
  meStartDate = Make<vcl::TMaskEdit>(this, "meStartDate", gbCycleRang);
  meStartDate->SetBounds(64, 16, 85, 21);
  btnStartDate = Make<F2Button::TF2Button>(this, "btnStartDate", gbCycleRang);
  btnStartDate->SetGlyphIndex(9);
  btnStartDate->SetF2Control(meStartDate);
  rbCycleRang_1 = MakeRadio(this, "rbCycleRang_1", gbCycleRang, "没有退出日期", 180, 12, 120);
  rbCycleRang_1->SetChecked(true);
  rbCycleRang_2 = MakeRadio(this, "rbCycleRang_2", gbCycleRang, "在反复", 180, 36, 64);
  meCycleRang_2 = MakeSpin(this, "meCycleRang_2", gbCycleRang, 1, 999, 1, 246, 34, 50);
  lblPeriod12 = MakeLabel(this, "lblPeriod12", gbCycleRang, "次后退出", 300, 38);
  rbCycleRang_3 = MakeRadio(this, "rbCycleRang_3", gbCycleRang, "退出日期", 180, 62, 76);
  meEndDate = Make<vcl::TMaskEdit>(this, "meEndDate", gbCycleRang);
  meEndDate->SetBounds(258, 60, 85, 21);
  btnEndDate = Make<F2Button::TF2Button>(this, "btnEndDate", gbCycleRang);
  btnEndDate->SetGlyphIndex(9);
  btnEndDate->SetF2Control(meEndDate);

  gbDynamicFields = Make<vcl::TGroupBox>(this, "gbDynamicFields", tsPeriodOption);
  gbDynamicFields->SetCaption("变动字段");
  gbDynamicFields->SetBounds(8, 232, 370, 120);
  lblCondition1 = MakeLabel(this, "lblCondition1", gbDynamicFields, "   条件:", 8, 20);
  cbocondition = MakeList(this, "cbocondition", gbDynamicFields, {}, 64, 16, 200);

  // Range conditions: a start and an end rule; single dates: one rule.
  // All rule controls start disabled at value 0 or their first item.
  auto ruleRow = [this](vcl::TWinControl* parent, int top, const char* check, const char* caption,
                        const char* runDay, const char* count, const char* unit, const char* rule,
                        const char* days, const char* dayLabel) {
    struct Row {
      BtChkBox::TBitCheckBox* check;
      vcl::TLabel* runDay;
      VkSpin::TVkSpinEdit* count;
      vcl::TComboBox* unit;
      vcl::TComboBox* rule;
      VkSpin::TVkSpinEdit* days;
      vcl::TLabel* dayLabel;
    } row;
    row.check = MakeCheck(this, check, parent, caption, 4, top + 2, 100);
    row.runDay = MakeLabel(this, runDay, parent, "=预定运行日", 106, top + 4);
    row.count = MakeSpin(this, count, parent, -99, 99, 0, 180, top, 40);
    row.unit = MakeList(this, unit, parent, {"周", "月"}, 222, top, 40);
    row.rule = MakeList(this, rule, parent, {"加/减", "第一天", "最后一天"}, 264, top, 60);
    row.days = MakeSpin(this, days, parent, -999, 999, 0, 326, top, 40);
    row.dayLabel = MakeLabel(this, dayLabel, parent, "天", 368, top + 4);
    for (vcl::TWinControl* c :
         std::initializer_list<vcl::TWinControl*>{row.count, row.unit, row.rule, row.days})
      c->SetEnabled(false);
    return row;
  };
  pnSp = MakePanel(this, "pnSp", gbDynamicFields, 4, 42, 362, 60);
  const auto begin = ruleRow(pnSp, 2, "spChangeDate_B", "变动起始日期", "lblRunDay_B", "seDay_B1",
                             "cboDay_B1", "cboDay_B2", "seDay_B2", "lblDay_B");
  spChangeDate_B = begin.check, lblRunDay_B = begin.runDay, seDay_B1 = begin.count;
  cboDay_B1 = begin.unit, cboDay_B2 = begin.rule, seDay_B2 = begin.days, lblDay_B = begin.dayLabel;
  const auto end = ruleRow(pnSp, 30, "spChangeDate_E", "变动截止日期", "lblRunDay_E", "seDay_E1",
                           "cboDay_E1", "cboDay_E2", "seDay_E2", "lblDay_E");
  spChangeDate_E = end.check, lblRunDay_E = end.runDay, seDay_E1 = end.count;
  cboDay_E1 = end.unit, cboDay_E2 = end.rule, seDay_E2 = end.days, lblDay_E = end.dayLabel;
  pnEdit = MakePanel(this, "pnEdit", gbDynamicFields, 4, 42, 362, 60);
  pnEdit->SetVisible(false);
  const auto single = ruleRow(pnEdit, 2, "edChangeDate", "变动日期", "lblRunDay", "seDay1",
                              "cboDay1", "cboDay2", "seDay2", "lblDay");
  edChangeDate = single.check, lblRunDay = single.runDay, seDay1 = single.count;
  cboDay1 = single.unit, cboDay2 = single.rule, seDay2 = single.days, lblDay = single.dayLabel;
}

// ---------------------------------------------------------------------------
// Creation, show and destruction.

void TfrmBaseOpt::FormCreate(vcl::TObject* sender) {
  TfrmBaseGene::FormCreate(sender);
#if !VK_COMPAT_BUILD
  btnOk->SetGlyph(btnOK02->Glyph());
#else
  ImageList1->GetBitmap(miOKExit->ImageIndex(), btnOk->Glyph());
#endif
  edDate->SetText("");
  DatabaseKind = 0;
  ShowSubmitMenu = true;
  ExitAfterSubmit = true;
}

void TfrmBaseOpt::FormShow(vcl::TObject* sender) {
  TfrmBaseGene::FormShow(sender);
  if (ShowSubmitMenu) {
    btnSpd->SetBounds(btnOk->Left() + btnOk->Width(), btnOk->Top(), btnSpd->Width(),
                      btnOk->Height());
    btnSpd->SetVisible(true);
  } else {
    btnSpd->SetVisible(false);
  }
}

void TfrmBaseOpt::FormDestroy(vcl::TObject* sender) {
  TfrmBaseGene::FormDestroy(sender);
  DynamicFieldRules->Clear();
}

// ---------------------------------------------------------------------------
// Overrides of the generic window.

void TfrmBaseOpt::ArrangeSystemPage() {
  TfrmBaseGene::ArrangeSystemPage();
  if (Width() < 340) SetWidth(340);
  if (Height() < 275) SetHeight(275);
  edPrintDate->SetTabOrder(0);
#if !VK_COMPAT_BUILD
  grpGenTime->SetBounds(8, 41, 220, 115);
#else
  grpGenTime->SetBounds(8, 35, 220, 115);
#endif
  grpGenTime->SetTabOrder(1);
  const struct {
    vcl::TControl* control;
    int left, top;
  } places[] = {
    {rdoRealTime, 5, 12},
    {rdoQueue, 5, 28},
    {rdoExceptTime, 5, 43},
    {pnlTime, 15, 60},
    {edDate, 1, 1},
    {edHour, 1, 27},
    {edMin, 64, 27},
    {edSec, 130, 27},
#if !VK_COMPAT_BUILD
    {lalHour, 36, 32},
    {lblMin, 100, 32},
    {lblSec, 165, 32},
#else
    {lalHour, 45, 32},
    {lblMin, 110, 32},
    {lblSec, 175, 32},
#endif
  };
  for (const auto& p : places)
    p.control->SetBounds(p.left, p.top, p.control->Width(), p.control->Height());
  pnlTime->SetBounds(15, 60, 200, 50);
  rdoRealTime->SetTabOrder(0);
  rdoQueue->SetTabOrder(1);
  rdoExceptTime->SetTabOrder(2);
  pnlTime->SetTabOrder(3);
  edDate->SetTabOrder(0);
  edHour->SetTabOrder(1);
  edMin->SetTabOrder(2);
  edSec->SetTabOrder(3);
  btnDate->AlignToControl();
#if !VK_COMPAT_BUILD
  chkNotify->SetBounds(10, 162, chkNotify->Width(), chkNotify->Height());
  chkNotify->SetTabOrder(2);
  btnNotify->SetBounds(UICodePage() == "437" ? 160 : 108, 156, btnNotify->Width(),
                       btnNotify->Height());
#else
  grpAlarm->SetBounds(8, 155, 140, 50);
  grpAlarm->SetTabOrder(2);
  chkAlarm->SetBounds(8, 14, chkAlarm->Width(), chkAlarm->Height());
  chkAlarm->SetTabOrder(0);
  chkVkPager->SetBounds(8, 30, chkVkPager->Width(), chkVkPager->Height());
  chkVkPager->SetTabOrder(1);
#endif
}

bool TfrmBaseOpt::BuildRequest() {
  if (!TfrmBaseGene::BuildRequest()) return false;
  if (!btnPeriod->Down()) return true;
  return AddPeriodicBlocks();
}

bool TfrmBaseOpt::AddPeriodicBlocks() {
  try {
    char runTime[16];
    std::snprintf(runTime, sizeof runTime, "%.2d:%.2d", sePeriodHour->Value(),
                  sePeriodMin->Value());
    const Variant schedule =
        platform::VarArrayOf({Variant("Y"), Variant(runTime), Schedule, CycleRangeValue()});

    // Each record learns which condition value it rewrites: the position of
    // its component among the condition captions.
    const Variant& captions = Request[1];
    for (int i = 0; i < DynamicFieldRules->Count(); ++i) {
      std::string record = DynamicFieldRules->Get(i);
      const std::string component = LibStrs::GetField(record, LibStrs::kFieldSeparator, 2);
      for (int32_t j = captions.LowBound(); j <= captions.HighBound(); ++j)
        if (captions[j].IsArray() && platform::VarToStr(captions[j][1]) == component)
          record += LibStrs::kFieldSeparator + std::to_string(j);
      DynamicFieldRules->Put(i, record);
    }
    const int32_t count = DynamicFieldRules->Count();
    Variant dynamic = platform::VarArrayCreate({{0, count}});
    dynamic[0] = Variant(count);
    for (int32_t i = 1; i <= count; ++i) dynamic[i] = Variant(DynamicFieldRules->Get(i - 1));

    const int32_t b = Request.HighBound();
    Variant block = platform::VarArrayCreate({{1, 3}});
    block[1] = Request[b];
    block[2] = schedule;
    block[3] = dynamic;
    const Variant firstRun = ApplyDynamicDates(block, FirstRunDate);
    // A failed rewrite must not send a request without its values: the
    // first run then keeps the values as entered.
    if (firstRun.IsArray()) {
      Request[b] = firstRun;
    } else {
      RecordError("The date conditions of the first run could not be shifted");
    }
    Request.Redim(b + 2);
    Request[b + 1] = schedule;
    Request[b + 2] = dynamic;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TfrmBaseOpt::RegisterFields() {
  TfrmBaseGene::RegisterFields();
  RegisterDateFields("edDate,meStartDate,meEndDate");
  EnvCount = 12;
  ServiceFlags = 4;
}

vcl::TTabSheet* TfrmBaseOpt::PageOf(vcl::TControl* control) const {
  for (vcl::TControl* c = control; c && c != this; c = c->Parent()) {
    if (c->Parent() == pgOption) return dynamic_cast<vcl::TTabSheet*>(c);
  }
  return nullptr;
}

void TfrmBaseOpt::SetRequired(const std::string& list) {
  std::string extended = list;
  std::vector<std::string> taken;
  std::string rest = RequiredFields;
  while (!rest.empty()) {
    std::string entry;
    LibStrs::SplitFirst(rest, ",", entry);
    std::string qualifier = entry;
    std::string name;
    LibStrs::SplitFirst(qualifier, ";", name);
    name = platform::Trim(name);
    qualifier = platform::Trim(qualifier);
    if (std::find(taken.begin(), taken.end(), name) != taken.end()) continue;
    auto* control = dynamic_cast<vcl::TWinControl*>(name.empty() ? nullptr : FindComponent(name));
    if (!control) continue;
    const vcl::TTabSheet* page = PageOf(control);
    const bool ownPages = page && (page == tsOption2 || page == tsPeriodOption);
    std::string item;
    if (ComposingRequired) {
      if (ownPages) continue;
      item = qualifier.empty() ? name : name + ";" + qualifier;
    } else {
      if (!ownPages) continue;
      item = name;
    }
    taken.push_back(item);
    extended += "," + item;
  }
  TfrmBaseGene::SetRequired(extended);
}

void TfrmBaseOpt::ComposeRequired(std::initializer_list<std::string> parts) {
  std::string list;
  for (const std::string& part : parts)
    if (!part.empty()) list += (list.empty() ? "" : ",") + part;
  ComposingRequired = true;
  try {
    SetRequired(list);
  } catch (...) {
    ComposingRequired = false;
    throw;
  }
  ComposingRequired = false;
}

bool TfrmBaseOpt::GenerateLocally(const std::string& jobId, const std::string& programCode,
                                  const std::string& jobKey, int count, const Variant& values,
                                  const std::string& dbName, const std::string& kind,
                                  const std::string& serverClass, const std::string& userID,
                                  const std::string& companyID, const std::string& dataType) {
  return TfrmBaseGene::GenerateLocally(jobId, programCode, jobKey, count, values, dbName, kind,
                                       serverClass, userID, companyID, dataType);
}

bool TfrmBaseOpt::Initialize(const Variant& params) {
  const bool result = TfrmBaseGene::Initialize(params);
  if (result) {
    edDate->SetText("");
    try {
      DatabaseKind = static_cast<uint8_t>(Outside::SQLType(AppServer).AsInteger());
    } catch (const std::exception& e) {
      RecordError(e.what());
    }
    try {
      RequestRights();
    } catch (const std::exception& e) {
      RecordError(e.what());
    }
    if (StandAlone()) Show();
    tsPeriodOption->SetTabVisible(btnPeriod->Down());
    PeriodPageFresh = true;
  }
  NotifyXml.clear();
  return result;
}

platform::DateTime TfrmBaseOpt::ScheduledTime(const std::string& dateText) const {
  const std::string text =
      dateText + " " + edHour->Text() + ":" + edMin->Text() + ":" + edSec->Text();
  platform::DateTime moment;
  if (!platform::TryStrToDateTime(text, moment))
    throw platform::EConvertError("'" + text + "' is not a valid date and time");
  return moment;
}

bool TfrmBaseOpt::FillEnvironment(Variant& env, int count) {
  const bool result = TfrmBaseGene::FillEnvironment(env, count);
  // Dates below go to text and back in this form, and the process keeps it.
  platform::GlobalFormatSettings().ShortDateFormat = "YYYY/MM/DD";
  if (btnPeriod->Down()) env[9] = Variant(platform::LowerCase(ProgramKind));
  env[11] = Variant(platform::Now());
  const int32_t mode = rdoQueue->Checked() ? 0 : rdoRealTime->Checked() ? 1 : 2;
  env[10] = Variant(mode);
  if (mode == 2) {
    try {
      if (btnPeriod->Down()) {
        ComposeSchedule();
        FirstRunDate = NextPeriodDate(ToStorageDate(meStartDate->Text()), Schedule);
        const std::string dateText = platform::DateToStr(LibStrs::YmdToDate(FirstRunDate));
        edHour->SetText(sePeriodHour->Text());
        edMin->SetText(sePeriodMin->Text());
        edSec->SetText("00");
        bool hourly = false;
#if !VK_COMPAT_BUILD
        hourly = Schedule.IsArray() && Schedule[0].IsNumeric() && Schedule[0].AsInteger() == 3;
#endif
        if (!hourly) env[11] = Variant(ScheduledTime(dateText));
      } else {
        const std::string dateText = platform::DateToStr(
            LibStrs::DisplayToDate(edDate->Text(), DateFormatKind(), DateSeparator()));
        env[11] = Variant(ScheduledTime(dateText));
      }
    } catch (const std::exception&) {
      env[10] = Variant(int32_t{0});
      ShowMessageCode("E;000005;" + GetMessageText("I", "000009") + GetMessageText("I", "000010"));
      return false;
    }
  }
#if !VK_COMPAT_BUILD
  env[12] = Variant(chkNotify->Checked() ? NotifyXml : std::string());
#else
  env[12] = Variant(int32_t{1 + (chkAlarm->Checked() ? 1 : 0) + (chkVkPager->Checked() ? 2 : 0)});
#endif
  return result;
}

void TfrmBaseOpt::AfterRights() {
  TfrmBaseGene::AfterRights();
  ComposeSchemeProperties();
  if (platform::Trim(SchemeProperties).empty()) pnlCondition->SetVisible(false);
}

void TfrmBaseOpt::PrepareConnection(platform::remote::TSocketConnection* connection) {
  TfrmBaseGene::PrepareConnection(connection);
  connection->SetServerName(kServerName);
}

// ---------------------------------------------------------------------------
// New virtual operations.

void TfrmBaseOpt::RequestRights() {
  ApplyRights(Outside::GetPower(AppServer, DbName, UserID, ProgramCode));
}

void TfrmBaseOpt::PreparePeriodPage() {
  // STUB: the periodic page's preparation (schedule and dynamic fields) is
  // not built yet.
}

void TfrmBaseOpt::ComposeSchedule() {
  // STUB: the cycle controls are not read yet; Schedule stays as it is.
}

void TfrmBaseOpt::StoreDynamicRule() {
  // STUB: the date-shift records are not edited yet.
}

Variant TfrmBaseOpt::CycleRangeValue() {
  // STUB: the cycle range of the periodic page is not read yet.
  return Variant();
}

void TfrmBaseOpt::ComposeSchemeProperties() {
  for (int p = 0; p < pgOption->PageCount(); ++p) {
    vcl::TTabSheet* page = pgOption->Pages(p);
    if (page == tsOption2 || page == tsPeriodOption) continue;
    std::vector<vcl::TWinControl*> controls;
    page->GetTabOrderList(controls);
    for (vcl::TWinControl* c : controls) {
      // The window's own controls only: the parts of a select panel or a
      // radio group belong to it and travel with its own entry.
      if (c->Name().empty() || c->Owner() != this) continue;
      if (dynamic_cast<vcl::TCustomMemo*>(c)) continue;
      const char* suffix = nullptr;
      if (dynamic_cast<vcl::TCustomEdit*>(c)) {
        suffix = ".text";
      } else if (dynamic_cast<vcl::TCustomComboBox*>(c)) {
        suffix = ".itemindex";
      } else if (dynamic_cast<vcl::TCustomCheckBox*>(c) ||
                 dynamic_cast<BtChkBox::TBitCheckBox*>(c) || dynamic_cast<vcl::TRadioButton*>(c) ||
                 dynamic_cast<VkRadioButton::TVkRadioButton*>(c)) {
        suffix = ".checked";
      } else if (dynamic_cast<SelectPnl::TSelectPanel*>(c)) {
        suffix = ".style";
      } else if (dynamic_cast<vcl::TCustomRadioGroup*>(c) ||
                 dynamic_cast<VkRadioGroup::TVkRadioGroup*>(c)) {
        suffix = ".itemindex";
      }
      if (suffix) SchemeProperties += c->Name() + suffix + ";";
    }
  }
}

void TfrmBaseOpt::LookupKey(vcl::Word key, vcl::TWinControl* control) {
  TfrmBaseGene::LookupKey(key, control);
  if (auto* edit = dynamic_cast<vcl::TMaskEdit*>(control);
      edit && (edit == edDate || edit == meStartDate || edit == meEndDate))
    edit->SetText(PickDate(edit->Text()));
}

std::string TfrmBaseOpt::ComputerName() {
  const std::string name = platform::ComputerName();
  return name.empty() ? "Unknown" : name.substr(0, 15);
}

// ---------------------------------------------------------------------------
// Handlers.

void TfrmBaseOpt::btnOkClick(vcl::TObject*) {
  if (!BuildRequest()) return;
  std::string answer;
  try {
    const Variant request = LibStrs::VarCodePageToWide(Request, 936);
    answer = platform::VarToStr(Outside::Request(AppServer, request));
  } catch (const std::exception&) {
    answer = "ERROR";
  }
  if (!platform::SameText(answer, "ERROR")) {
    ShowMessageCode((Interactive ? "I;000004;" : "I;-000004;") + answer);
    ResultCode = 1;
    ResultValue = Variant(answer);
    if (ExitAfterSubmit) Close();
    return;
  }
  // A failure of ErrorDescript itself is left to the platform's handler.
  ShowMessageCode("E;000013;" + platform::VarToStr(Outside::ErrorDescript(AppServer)));
}

void TfrmBaseOpt::btnCancelClick(vcl::TObject* sender) {
  TfrmBaseGene::btnCancelClick(sender);
  ResultCode = 2;
}

void TfrmBaseOpt::rdoQueueClick(vcl::TObject*) {
  pnlTime->SetEnabled(false);
  GenTimeRequired.clear();
  ComposeRequired({CycleStyleRequired, CycleRangeRequired, GenTimeRequired});
}

void TfrmBaseOpt::rdoExceptTimeClick(vcl::TObject*) {
  pnlTime->SetEnabled(true);
  GenTimeRequired = "edDate";
  if (btnPeriod->Down()) {
    ComposeRequired({CycleStyleRequired, CycleRangeRequired, GenTimeRequired});
  } else {
    ComposeRequired({GenTimeRequired});
  }
}

void TfrmBaseOpt::edDateEnter(vcl::TObject*) {}
void TfrmBaseOpt::edDateExit(vcl::TObject*) {}

void TfrmBaseOpt::btnSpdClick(vcl::TObject*) {
  int x = 0, y = btnOk->Height();
  if (QWidget* widget = btnOk->Handle()) {
    const QPoint at = widget->mapToGlobal(QPoint(0, btnOk->Height()));
    x = at.x();
    y = at.y();
  }
  pmOKExit->Popup(x, y);
}

void TfrmBaseOpt::miOKExitClick(vcl::TObject*) {
  ExitAfterSubmit = true;
#if !VK_COMPAT_BUILD
  btnOk->SetGlyph(btnOK02->Glyph());
#else
  ImageList1->GetBitmap(miOKExit->ImageIndex(), btnOk->Glyph());
#endif
  btnOk->Click();
}

void TfrmBaseOpt::miOKNoExitClick(vcl::TObject*) {
  ExitAfterSubmit = false;
#if !VK_COMPAT_BUILD
  btnOk->SetGlyph(btnOK02->Glyph());
#else
  ImageList1->GetBitmap(miOKNoExit->ImageIndex(), btnOk->Glyph());
#endif
  btnOk->Click();
}

#if !VK_COMPAT_BUILD
void TfrmBaseOpt::chkNotifyClick(vcl::TObject*) {
  btnNotify->SetEnabled(chkNotify->Checked());
  if (chkNotify->Checked() && NotifyXml.empty()) NotifyXml = DefaultRecipientXml(UserID);
}

void TfrmBaseOpt::btnNotifyClick(vcl::TObject*) {
  // The portal's settings: a first cell of a non-empty answer, else the
  // value read before stays.
  auto setting = [this](const char* sql, std::string& into) {
    Variant answer;
    GetCounter("SimpleSQL", platform::VarArrayOf({Variant(sql), Variant("MA003")}), answer);
    try {
      if (answer.IsArray() && answer.HighBound() >= answer.LowBound())
        into = platform::VarToStr(answer[0][0]);
    } catch (const std::exception&) {
      // Not the shape of an answer: keep the value read before.
    }
  };
  setting("SELECT MA003 FROM VRKINTMA WHERE MA001='StartupPortal' ", PortalStarted);
  setting("SELECT MA003 FROM VRKINTMA WHERE MA001='Portal WS' ", PortalAddress);
  NotifyXml = EditRecipients(this, NotifyXml, PortalStarted, PortalAddress);
}
#endif

void TfrmBaseOpt::btnInsertClick(vcl::TObject* sender) {
  TfrmBaseGene::btnInsertClick(sender);
  if (InputError) return;
  bool replace = false;
  const std::string name = ShowSchemeDialog(DateFields, this, 4, replace);
  if (!name.empty()) SaveScheme(SchemeProperties, name, replace);
  RefreshSchemeList();
}

void TfrmBaseOpt::pgOptionChange(vcl::TObject* sender) {
  TfrmBaseGene::pgOptionChange(sender);
  // STUB: mirroring the first run into the generation time while periodic
  // mode is on is not built yet.
}

void TfrmBaseOpt::btnPeriodClick(vcl::TObject*) {
  // STUB beyond the tab: switching periodic mode on and off (page
  // preparation, generation time, required fields) is not built yet.
  tsPeriodOption->SetTabVisible(btnPeriod->Down());
}

}  // namespace BaseOpt
