#pragma once

#include "platform/vcl/Spin.h"

/* The program's spin edit. */
namespace VkSpin {

/* A spin edit that keeps signs at the front. On every change of its text:
   when the text holds "+" anywhere after its first character, the last
   character is removed; then the same for "-". The change event is then
   raised once, and only when the trimmed text is not empty (the nested
   change of the correction raises nothing of its own). */
class TVkSpinEdit : public vcl::TSpinEdit {
  VCL_CLASS_INFO()
 public:
  explicit TVkSpinEdit(vcl::TComponent* owner) : vcl::TSpinEdit(owner) {}

 protected:
  void Change() override;

 private:
  bool correcting_ = false;
};

}  // namespace VkSpin
