#pragma once

#include "platform/vcl/Classes.h"

namespace vcl {

class TControl;

/* A window message as the platform's controls receive it. Result is what
   SendMessage/Perform return. */
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Window messages this layer sends or understands.
enum : UINT {
  WM_NULL = 0x0000,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_SETTEXT = 0x000C,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_USER = 0x0400,

  // The component layer's own messages.
  CM_BASE = 0xB000,
  CM_ACTIVATE = CM_BASE + 0,
  CM_DEACTIVATE = CM_BASE + 1,
  CM_ENTER = CM_BASE + 4,
  CM_EXIT = CM_BASE + 5,
  CM_FOCUSCHANGED = CM_BASE + 7,  // LParam: the control that now has the focus
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_VISIBLECHANGED = CM_BASE + 22,
  CM_RELEASE = CM_BASE + 33,  // a form frees itself (TCustomForm::Release)
};

/* Mouse message parameters: x in the low word, y in the high word. */
inline LPARAM MakeLParam(int x, int y) {
  return static_cast<LPARAM>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                             static_cast<uint32_t>(x & 0xFFFF));
}
inline int LParamX(LPARAM l) { return static_cast<int16_t>(l & 0xFFFF); }
inline int LParamY(LPARAM l) { return static_cast<int16_t>((l >> 16) & 0xFFFF); }

/* Queues a message for Target; it is handled later, when the event loop runs
   (Application->ProcessMessages or a modal loop), through Target's WndProc.
   A message for a control freed in the meantime is dropped. Returns false
   for a null target. */
bool PostMessage(TControl* target, UINT msg, WPARAM wParam, LPARAM lParam);
/* Handles a message at once through Target's WndProc and returns its
   Result; 0 for a null target. */
LRESULT SendMessage(TControl* target, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace vcl
