// The wait window shown while a report opens.

#include "report/RunningWinCF.h"

namespace RunningWinCF {

namespace {
constexpr char kWaitText[] = "报表开启中，请稍候...";
}

const vcl::TClassInfo* TfrmRunningWinC::StaticClassInfo() {
  using P = vcl::PropBuilder<TfrmRunningWinC>;
  static const vcl::TClassInfo info("TfrmRunningWinC", VKForm::TVKForm::StaticClassInfo(), {},
                                    {P::PublishedMethod<&TfrmRunningWinC::FormShow>("FormShow")});
  return &info;
}

TfrmRunningWinC::TfrmRunningWinC(vcl::TComponent* owner) : VKForm::TVKForm(owner) {
  SetName("frmRunningWinC");
  SetBorderStyle(vcl::bsNoneForm);
  SetColor(vcl::clAqua);
  SetClientWidth(158);
  SetClientHeight(51);
  SetPosition(vcl::poDesigned);
  SetCaption(kWaitText);
  Font()->SetName("宋体");

  Animate1 = new vcl::TAnimate(this);
  Animate1->SetName("Animate1");
  Animate1->SetParent(this);
  Animate1->SetBounds(8, 17, 16, 16);
  Animate1->SetCommonAVI(vcl::aviFindFile);
  Animate1->SetActive(false);

  Label1 = new vcl::TLabel(this);
  Label1->SetName("Label1");
  Label1->SetParent(this);
  Label1->SetParentFont(false);
  Label1->Font()->SetName("宋体");
  Label1->Font()->SetHeight(-12);
  Label1->Font()->SetColor(vcl::clRed);
  Label1->SetCaption(kWaitText);
  Label1->SetLeft(28);
  Label1->SetTop(19);

  OnShow = vcl::MakeEvent<&TfrmRunningWinC::FormShow>(this);
}

TfrmRunningWinC::~TfrmRunningWinC() = default;

void TfrmRunningWinC::SetActive(bool value) {
  if (value)
    Animate1->Play(1, kStopFrame, 0);
  else
    Animate1->Stop();
}

void TfrmRunningWinC::FormShow(vcl::TObject* sender) {
  VKForm::TVKForm::FormShow(sender);
  ConvertOnce();
  if (auto* owner = dynamic_cast<vcl::TControl*>(Owner())) {
    SetLeft(owner->Left() + (owner->Width() - Width()) / 2);
    SetTop(owner->Top() + (owner->Height() - Height()) / 2);
  }
}

}  // namespace RunningWinCF
