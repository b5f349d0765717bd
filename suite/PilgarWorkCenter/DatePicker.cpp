#include "suite/PilgarWorkCenter/DatePicker.h"

#include <cstdio>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "runtime/LibStrs.h"
#include "suite/PilgarWorkCenter/DialogParts.h"
#include "suite/PilgarWorkCenter/MonthCalendar.h"

namespace pilgarwc {

using platform::DateTime;

namespace {

// Company date kinds of the runtime: 1 "yyyy/mm/dd", 5 Minguo "yyy/mm/dd".
constexpr int kGregorianKind = 1;
constexpr int kMinguoKind = 5;

std::string Ymd(DateTime date) {
  int year, month, day;
  platform::DecodeDate(date, year, month, day);
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
  return text;
}

class TfrmInputDay : public vcl::TForm {
  VCL_CLASS_INFO()
 public:
  TfrmInputDay(bool minguo, DateTime start) : TForm(nullptr), minguo_(minguo) {
    SetName("frmInputDay");
    SetCaption("日期快手");
    SetBorderStyle(vcl::bsDialog);
    SetPosition(vcl::poScreenCenter);
    Font()->SetCharset(platform::GB2312_CHARSET);
    Font()->SetHeight(-12);
    SetClientWidth(276);
    SetClientHeight(262);

    calDate = AddControl<TMonthCalendar>(this, "calDate");
    calDate->SetBounds(8, 8, 260, 184);
    auto* label = AddControl<vcl::TLabel>(this, "lblDate");
    label->SetCaption("日期(&D)");
    label->SetBounds(8, 204, 48, 16);
    edDate = AddControl<vcl::TEdit>(this, "edDate");
    edDate->SetBounds(60, 200, 120, 22);
    edDate->SetMaxLength(10);
    edDate->SetTabStop(true);
    label->SetFocusControl(edDate);
    btnOk = AddControl<vcl::TButton>(this, "btnOk");
    btnOk->SetCaption("确定");
    btnOk->SetBounds(112, 230, 75, 25);
    btnOk->SetDefault(true);
    btnOk->SetTabStop(true);
    btnCancel = AddControl<vcl::TButton>(this, "btnCancel");
    btnCancel->SetCaption("取消");
    btnCancel->SetBounds(193, 230, 75, 25);
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(vcl::mrCancel);
    btnCancel->SetTabStop(true);

    calDate->SetDate(start);
    edDate->SetText(PickerDateText(start, minguo_));
    calDate->OnChange = vcl::MakeEvent<&TfrmInputDay::calDateChange>(this);
    calDate->OnDblClick = vcl::MakeEvent<&TfrmInputDay::btnOkClick>(this);
    edDate->OnChange = vcl::MakeEvent<&TfrmInputDay::edDateChange>(this);
    btnOk->OnClick = vcl::MakeEvent<&TfrmInputDay::btnOkClick>(this);
    SetActiveControl(edDate);
  }

  const std::string& Result() const { return result_; }

  void calDateChange(vcl::TObject*) {
    syncing_ = true;
    edDate->SetText(PickerDateText(calDate->Date(), minguo_));
    syncing_ = false;
  }

  // A text that makes a date moves the calendar; anything else waits for OK.
  void edDateChange(vcl::TObject*) {
    if (syncing_) return;
    const DateTime date = PickerTextDate(edDate->Text(), minguo_);
    if (date.Value != 0) calDate->SetDate(date);
  }

  void btnOkClick(vcl::TObject*) {
    const DateTime date = PickerTextDate(edDate->Text(), minguo_);
    if (date.Value == 0) {
      vcl::MessageDlg("日期格式不正确，请重新输入！", vcl::mtError,
                      vcl::MsgDlgButtons({vcl::mbOK}));
      if (edDate->CanFocus()) edDate->SetFocus();
      edDate->SelectAll();
      return;
    }
    result_ = Ymd(date);
    SetModalResult(vcl::mrOk);
  }

  TMonthCalendar* calDate = nullptr;
  vcl::TEdit* edDate = nullptr;
  vcl::TButton* btnOk = nullptr;
  vcl::TButton* btnCancel = nullptr;

 private:
  bool minguo_;
  bool syncing_ = false;
  std::string result_;
};

}  // namespace

const vcl::TClassInfo* TfrmInputDay::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmInputDay", vcl::TForm::StaticClassInfo());
  return &info;
}

std::string PickerDateText(DateTime date, bool minguo) {
  return LibStrs::DateToDisplay(minguo ? kMinguoKind : kGregorianKind, "/", date);
}

DateTime PickerTextDate(const std::string& text, bool minguo) {
  const std::string trimmed = platform::Trim(text);
  DateTime date = LibStrs::DisplayToDate(trimmed, minguo ? kMinguoKind : kGregorianKind, "/");
  if (date.Value == 0 && !minguo && trimmed.size() == 8) date = LibStrs::YmdToDate(trimmed);
  return date;
}

std::string RunDatePicker(bool minguo, const std::string& start) {
  DateTime date = LibStrs::YmdToDate(platform::Trim(start));
  if (date.Value == 0) date = platform::Date();
  auto* form = vcl::Create<TfrmInputDay>(minguo, date);
  std::string answer;
  try {
    if (form->ShowModal() == vcl::mrOk) answer = form->Result();
  } catch (...) {
    if (vcl::IsLiveComponent(form)) form->Free();
    throw;
  }
  if (vcl::IsLiveComponent(form)) form->Free();
  return answer;
}

}  // namespace pilgarwc
