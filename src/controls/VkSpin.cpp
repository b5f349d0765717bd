#include "controls/VkSpin.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/TypInfo.h"

namespace VkSpin {

namespace {
// A sign after the first character: the text loses its last character.
std::string WithoutLateSign(const std::string& text, char sign) {
  size_t at = text.find(sign);
  if (at == std::string::npos || at == 0) return text;
  return text.substr(0, text.size() - 1);
}
}  // namespace

const vcl::TClassInfo* TVkSpinEdit::StaticClassInfo() {
  static const vcl::TClassInfo info("TVkSpinEdit", vcl::TSpinEdit::StaticClassInfo());
  return &info;
}

void TVkSpinEdit::Change() {
  if (correcting_) return;
  std::string text = WithoutLateSign(WithoutLateSign(Text(), '+'), '-');
  if (text != Text()) {
    correcting_ = true;
    SetText(text);
    correcting_ = false;
  }
  if (!platform::Trim(Text()).empty()) vcl::TSpinEdit::Change();
}

}  // namespace VkSpin
