#include "framework/ModuleProperties.h"

#include <string>

namespace BaseGene {

const vcl::TClassInfo* TfrmModuleProperties::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmModuleProperties", vcl::TForm::StaticClassInfo());
  return &info;
}

TfrmModuleProperties::TfrmModuleProperties(vcl::TComponent* owner) : vcl::TForm(owner) {
  SetName("frmModuleProperties");
  SetCaption("属性");
  SetBorderStyle(vcl::bsDialog);
  SetPosition(vcl::poScreenCenter);
  SetBounds(Left(), Top(), 420, 250);
  Font()->SetName("宋体");
  Font()->SetHeight(-12);

  struct Row {
    const char* caption;
    const char* name;
    vcl::TLabel** value;
  } rows[] = {
      {"文件名:", "lblFileName", &lblFileName},
      {"大小:", "lblSize", &lblSize},
      {"修改时间:", "lblModified", &lblModified},
      {"访问时间:", "lblAccessed", &lblAccessed},
      {"状态改变时间:", "lblChanged", &lblChanged},
      {"文件版本:", "lblFileVersion", &lblFileVersion},
      {"产品版本:", "lblProductVersion", &lblProductVersion},
  };
  int top = 12;
  for (const Row& row : rows) {
    auto* caption = new vcl::TLabel(this);
    caption->SetParent(this);
    caption->SetCaption(row.caption);
    caption->SetBounds(12, top, caption->Width(), caption->Height());
    auto* value = new vcl::TLabel(this);
    value->SetName(row.name);
    value->SetParent(this);
    value->SetCaption("-");
    value->SetBounds(110, top, value->Width(), value->Height());
    *row.value = value;
    top += 22;
  }
  btnClose = new vcl::TButton(this);
  btnClose->SetName("btnClose");
  btnClose->SetParent(this);
  btnClose->SetCaption("确定");
  btnClose->SetBounds(330, top + 6, 75, 25);
  btnClose->SetModalResult(vcl::mrOk);
  btnClose->SetDefault(true);
  btnClose->SetCancel(true);
}

void TfrmModuleProperties::ShowFile(const BaseGeneU::TModuleFileInfo& info) {
  auto show = [](vcl::TLabel* label, const std::string& text) {
    label->SetCaption(text.empty() ? "-" : text);
  };
  show(lblFileName, info.FileName);
  if (!info.Exists) return;
  show(lblSize, std::to_string(info.Size) + " 字节");
  show(lblModified, info.Modified);
  show(lblAccessed, info.Accessed);
  show(lblChanged, info.Changed);
  show(lblFileVersion, info.Version("FileVersion"));
  show(lblProductVersion, info.Version("ProductVersion"));
}

}  // namespace BaseGene
