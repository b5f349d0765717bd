#pragma once

// Helpers shared by the units of the control set; not for the windows.

#include <string>

namespace ControlsInternal {

/* A caption as it is drawn: "&x" shows x (the accelerator mark goes) and
   "&&" shows "&". */
inline std::string VisibleCaption(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

}  // namespace ControlsInternal
