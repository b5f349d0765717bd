#pragma once

// What the work center's own dialogs (the date picker, the lookup window)
// share in building their controls.

#include "platform/vcl/Controls.h"

namespace pilgarwc {

/* A new control of class T named Name, owned by Form (freed with it) and
   shown on it. */
template <class T>
T* AddControl(vcl::TWinControl* form, const char* name) {
  auto* control = new T(form);
  control->SetName(name);
  control->SetParent(form);
  return control;
}

}  // namespace pilgarwc
