#pragma once

// The controller protocol between the suite's desktop host and a program
// plug-in. This header is the one declaration both sides compile: the host
// calls the controller only through its virtual operations and reads and
// writes its fields, so it needs no symbol of the plug-in beyond the
// exported GetController. Objects, Variants and exceptions come from the
// shared runtime libraries (libvkrtl, libvkvcl) and cross the boundary
// unchanged. Changing the order of the fields or of the virtual operations
// below breaks every host built against the earlier order.

#include <cstdint>
#include <string>

#include "platform/core/Variant.h"
#include "platform/vcl/Classes.h"
#include "platform/vcl/TypInfo.h"

namespace DLLBaseCtrller {

/* A window handle: the native window id of a top-level window (Qt's WId);
   0 is no window. QWidget::find maps it back to the window. */
using HWND = uintptr_t;

/* The platform's 16-bit boolean: true is all bits set (-1), false is 0. */
using WordBool = int16_t;
inline constexpr WordBool kWordTrue = -1;
inline constexpr WordBool kWordFalse = 0;

/* The host's notification handler: procedure(Code; Sender) of object. The
   controller always passes itself as the sender. */
using TNoticeEvent = vcl::TEvent<int32_t /*Code*/, vcl::TObject* /*Sender*/>;

/* Notice codes sent to the host through OnNotify. */
enum : int32_t {
  kNoticeCreated = 0x100,    // window created, before it is initialised
  kNoticeShown = 0x110,      // window shown
  kNoticeHidden = 0x120,     // window hidden
  kNoticeDestroyed = 0x130,  // window destroyed; ResultCode and ResultValue are set
  kNoticeFifth = 0x140,      // sent only when the host calls DoFifthNotice
};

/* Window outcome codes (ResultCode). */
enum : int32_t { kResultNone = 0, kResultJobAccepted = 1, kResultCancelled = 2 };

/* A class reference (the platform's "class of T"): the class's name and run-
   time type information and a function that makes a new instance. A null
   pointer is the reference "nil". */
template <class Base, class... CreateArgs>
struct TClassRef {
  const vcl::TClassInfo* (*Info)();
  Base* (*Create)(CreateArgs...);
  std::string ClassName() const { return Info()->Name(); }
};

/* The controller the host drives (the root object class is its base; it
   publishes nothing). Fields first, in declaration order; then the eighteen
   virtual operations in slot order, numbered from 0 after the root class's
   own virtual operations (destructor, ClassInfo). Slots 0-10 are abstract
   here; 11-17 have their base behaviour. */
class TDLLBaseController : public vcl::TObject {
  VCL_CLASS_INFO()
 public:
  TDLLBaseController();
  /* A descendant frees what it still owns (its window) before it goes. */
  ~TDLLBaseController() override;

  // ---- Fields the host reads and writes directly ----------------------------
  /* The host's automation object, stored by the host before the first
     Execute and copied into each window the controller creates. */
  platform::Variant HostObject;
  /* 0 until a window has been destroyed; then its outcome: 1 a job was
     accepted, 2 the user pressed Cancel, 0 closed otherwise. */
  int32_t ResultCode = 0;
  /* Unassigned until a window has been destroyed; then its outcome value
     (the job identifier when ResultCode is 1). */
  platform::Variant ResultValue;
  /* The host's notice handler; may be unassigned (no notices are sent). */
  TNoticeEvent OnNotify;

  // ---- Virtual operations, in slot order ------------------------------------
  /* 0: the window's version text as a wide string; empty without a window. */
  virtual std::u16string GetVersionText() = 0;
  /* 1: kWordTrue when the window exists and is visible, else 0. */
  virtual WordBool GetVisible() = 0;
  /* 2: shows or hides the window; showing restores a minimised window and
     brings it to the foreground. Nothing without a window. */
  virtual void SetVisible(WordBool value) = 0;
  /* 3: the window's handle (made on demand); 0 without a window. */
  virtual HWND GetWindowHandle() = 0;
  /* 4: creates (when there is none), hooks and initialises the window with
     the host parameters [user, company, database, host window, extra].
     0 on success, -1 otherwise. Raises platform::Exception "VRK DLL
     Internal Error :\rNot Assign "frmBaseGeneClass" varible" when no window
     class is registered. */
  virtual int32_t Execute(const platform::Variant& params) = 0;
  /* 5: forwards element 1 of the host's array as [true, Params[1]] to the
     window. -1 without a window, for a null or non-array Params, or when the
     window fails; never raises. */
  virtual int32_t SetCondition(const platform::Variant& params) = 0;
  /* 6: forwards [false, Value] to the window for message types 5 and 9; -1
     without a window, for another type, or when the window fails. The
     second argument is ignored. */
  virtual int32_t HostMessage(int32_t msgType, int32_t ignored, const platform::Variant& value) = 0;
  /* 7: shows the window modally and returns its modal result (an integer
     Variant); 2, the cancel result, without a window. */
  virtual platform::Variant ShowModal() = 0;
  /* 8: frees the window unless there is none or it is already going; the
     destroy hook stores the outcome and sends notice 304. */
  virtual void FreeWindow() = 0;
  /* 9: Info := [UserID, CompanyID, ProgramCode, ProgramName] as strings,
     bounds 0 to 3; -1 (Info untouched) without a window. */
  virtual int32_t GetProgramInfo(platform::Variant& info) = 0;
  /* 10: true when there is no window. */
  virtual bool NoWindow() = 0;
  /* 11: notice 256; Execute calls it right after creating a window. */
  virtual void DoCreated();
  /* 12-14: the window's OnShow, OnHide and OnDestroy hooks; notices 272,
     288 and 304. */
  virtual void DoShow(vcl::TObject* sender);
  virtual void DoHide(vcl::TObject* sender);
  virtual void DoDestroy(vcl::TObject* sender);
  /* 15: notice 320; nothing in the plug-in calls it. */
  virtual void DoFifthNotice();
  /* 16: calls OnNotify(Code, this) when it is assigned; Sender is not
     passed on. */
  virtual void Notify(int32_t code, vcl::TObject* sender);
  /* 17: does nothing. */
  virtual void Reserved();
};

/* "class of TDLLBaseController": made with the plain object constructor. */
using TDLLBaseControllerClass = const TClassRef<TDLLBaseController>*;

/* The controller class GetController makes; nil until a unit registers one. */
extern TDLLBaseControllerClass DLLControllerClass;

/* The class reference of a controller class T (one record per class). */
template <class T>
TDLLBaseControllerClass ControllerClassOf() {
  static const TClassRef<TDLLBaseController> ref{&T::StaticClassInfo,
                                                 []() -> TDLLBaseController* { return new T(); }};
  return &ref;
}

}  // namespace DLLBaseCtrller
