// The controller protocol as a host built elsewhere sees it: the order of the
// fields and of the eighteen virtual operations (checked on the vtable the
// compiler lays out, and by calling each slot through the raw vtable as such
// a host does), the base behaviour of slots 11-17, and GetController.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "entry/DLLBaseCtrller.h"
#include "entry/DLLFunc.h"
#include "platform/core/Exception.h"

namespace {

using DLLBaseCtrller::HWND;
using DLLBaseCtrller::TDLLBaseController;
using DLLBaseCtrller::WordBool;
using platform::Variant;

// The vtable index a pointer to a virtual member function stands for, by the
// Itanium C++ ABI (the pointer holds 1 + the byte offset in the vtable); -1
// for a non-virtual function.
template <class Method>
long VtableIndex(Method method) {
  static_assert(sizeof(Method) == 2 * sizeof(void*));
  struct {
    uintptr_t ptr;
    ptrdiff_t adj;
  } rep;
  std::memcpy(&rep, &method, sizeof rep);
  if ((rep.ptr & 1) == 0) return -1;
  return static_cast<long>((rep.ptr - 1) / sizeof(void*));
}

// A controller that records which abstract operation ran; slots 11-17 keep
// their base behaviour.
class TRecordingController : public TDLLBaseController {
 public:
  std::vector<std::string> calls;
  std::u16string GetVersionText() override { return Record("GetVersionText"), u"v1"; }
  WordBool GetVisible() override { return Record("GetVisible"), DLLBaseCtrller::kWordTrue; }
  void SetVisible(WordBool value) override { Record("SetVisible " + std::to_string(value)); }
  HWND GetWindowHandle() override { return Record("GetWindowHandle"), HWND{77}; }
  int32_t Execute(const Variant& params) override {
    return Record("Execute " + params[0].AsString()), 11;
  }
  int32_t SetCondition(const Variant& params) override {
    return Record("SetCondition " + params.AsString()), 12;
  }
  int32_t HostMessage(int32_t type, int32_t, const Variant& value) override {
    return Record("HostMessage " + std::to_string(type) + " " + value.AsString()), 13;
  }
  Variant ShowModal() override { return Record("ShowModal"), Variant(int32_t{6}); }
  void FreeWindow() override { Record("FreeWindow"); }
  int32_t GetProgramInfo(Variant& info) override {
    info = Variant("info");
    return Record("GetProgramInfo"), 14;
  }
  bool NoWindow() override { return Record("NoWindow"), true; }

 private:
  void Record(std::string call) { calls.push_back(std::move(call)); }
};

// The host's notice handler: every (code, sender) it was given.
struct NoticeLog {
  std::vector<std::pair<int32_t, vcl::TObject*>> notices;
  void OnNotify(int32_t code, vcl::TObject* sender) { notices.emplace_back(code, sender); }
};

using Controller = TDLLBaseController;

TEST(ControllerLayout, FieldsComeFirstInDeclarationOrder) {
  TRecordingController c;
  const char* base = reinterpret_cast<const char*>(&c);
  const auto offset = [&](const void* field) { return static_cast<const char*>(field) - base; };
  // Right after the vtable pointer (the root class has no fields), in order.
  EXPECT_EQ(offset(&c.HostObject), static_cast<ptrdiff_t>(sizeof(void*)));
  EXPECT_LT(offset(&c.HostObject), offset(&c.ResultCode));
  EXPECT_LT(offset(&c.ResultCode), offset(&c.ResultValue));
  EXPECT_LT(offset(&c.ResultValue), offset(&c.OnNotify));
  // A fresh controller: no outcome, no handler.
  EXPECT_EQ(c.ResultCode, 0);
  EXPECT_TRUE(c.ResultValue.IsEmpty());
  EXPECT_TRUE(c.HostObject.IsEmpty());
  EXPECT_FALSE(c.OnNotify.Assigned());
}

TEST(ControllerLayout, VirtualOperationsInSlotOrder) {
  // The first slot follows the root class's own virtual operations.
  const long first = VtableIndex(&vcl::TObject::ClassInfo) + 1;
  ASSERT_GT(first, 0);
  const struct {
    int slot;
    const char* name;
    long index;
  } table[] = {
      {0, "GetVersionText", VtableIndex(&Controller::GetVersionText)},
      {1, "GetVisible", VtableIndex(&Controller::GetVisible)},
      {2, "SetVisible", VtableIndex(&Controller::SetVisible)},
      {3, "GetWindowHandle", VtableIndex(&Controller::GetWindowHandle)},
      {4, "Execute", VtableIndex(&Controller::Execute)},
      {5, "SetCondition", VtableIndex(&Controller::SetCondition)},
      {6, "HostMessage", VtableIndex(&Controller::HostMessage)},
      {7, "ShowModal", VtableIndex(&Controller::ShowModal)},
      {8, "FreeWindow", VtableIndex(&Controller::FreeWindow)},
      {9, "GetProgramInfo", VtableIndex(&Controller::GetProgramInfo)},
      {10, "NoWindow", VtableIndex(&Controller::NoWindow)},
      {11, "DoCreated", VtableIndex(&Controller::DoCreated)},
      {12, "DoShow", VtableIndex(&Controller::DoShow)},
      {13, "DoHide", VtableIndex(&Controller::DoHide)},
      {14, "DoDestroy", VtableIndex(&Controller::DoDestroy)},
      {15, "DoFifthNotice", VtableIndex(&Controller::DoFifthNotice)},
      {16, "Notify", VtableIndex(&Controller::Notify)},
      {17, "Reserved", VtableIndex(&Controller::Reserved)},
  };
  for (const auto& row : table) EXPECT_EQ(row.index, first + row.slot) << row.name;
}

// A host that knows nothing but the slot numbers: each row calls one slot
// through the raw vtable with the operation's signature and says what must
// have happened (a recorded call, or the notices the base behaviour sends).
TEST(ControllerLayout, HostCallsEachSlotThroughTheVtable) {
  TRecordingController c;
  NoticeLog log;
  c.OnNotify = vcl::MakeEvent<&NoticeLog::OnNotify>(&log);
  void** vtable = *reinterpret_cast<void***>(&c);
  const long first = VtableIndex(&vcl::TObject::ClassInfo) + 1;
  Controller* self = &c;
  vcl::TObject other;

  using Call = std::function<void(void* fn)>;
  struct Row {
    int slot;
    Call call;
    std::string recorded;          // the call the controller records, if any
    std::vector<int32_t> notices;  // the notices sent, in order
  };
  const Row rows[] = {
      {0,
       [&](void* f) {
         EXPECT_EQ(reinterpret_cast<std::u16string (*)(Controller*)>(f)(self), u"v1");
       },
       "GetVersionText",
       {}},
      {1,
       [&](void* f) { EXPECT_EQ(reinterpret_cast<WordBool (*)(Controller*)>(f)(self), -1); },
       "GetVisible",
       {}},
      {2,
       [&](void* f) { reinterpret_cast<void (*)(Controller*, WordBool)>(f)(self, 0); },
       "SetVisible 0",
       {}},
      {3,
       [&](void* f) { EXPECT_EQ(reinterpret_cast<HWND (*)(Controller*)>(f)(self), 77u); },
       "GetWindowHandle",
       {}},
      {4,
       [&](void* f) {
         const Variant params = platform::VarArrayOf({"DS", "VRK", "VRKDEMO", int32_t{0}, ""});
         EXPECT_EQ(reinterpret_cast<int32_t (*)(Controller*, const Variant&)>(f)(self, params), 11);
       },
       "Execute DS",
       {}},
      {5,
       [&](void* f) {
         EXPECT_EQ(
             reinterpret_cast<int32_t (*)(Controller*, const Variant&)>(f)(self, Variant("c")), 12);
       },
       "SetCondition c",
       {}},
      {6,
       [&](void* f) {
         EXPECT_EQ(reinterpret_cast<int32_t (*)(Controller*, int32_t, int32_t, const Variant&)>(f)(
                       self, 9, 0, Variant("m")),
                   13);
       },
       "HostMessage 9 m",
       {}},
      {7,
       [&](void* f) {
         EXPECT_EQ(reinterpret_cast<Variant (*)(Controller*)>(f)(self).AsInteger(), 6);
       },
       "ShowModal",
       {}},
      {8, [&](void* f) { reinterpret_cast<void (*)(Controller*)>(f)(self); }, "FreeWindow", {}},
      {9,
       [&](void* f) {
         Variant info;
         EXPECT_EQ(reinterpret_cast<int32_t (*)(Controller*, Variant&)>(f)(self, info), 14);
         EXPECT_EQ(info.AsString(), "info");
       },
       "GetProgramInfo",
       {}},
      {10,
       [&](void* f) { EXPECT_TRUE(reinterpret_cast<bool (*)(Controller*)>(f)(self)); },
       "NoWindow",
       {}},
      {11, [&](void* f) { reinterpret_cast<void (*)(Controller*)>(f)(self); }, "", {256}},
      {12,
       [&](void* f) { reinterpret_cast<void (*)(Controller*, vcl::TObject*)>(f)(self, &other); },
       "",
       {272}},
      {13,
       [&](void* f) { reinterpret_cast<void (*)(Controller*, vcl::TObject*)>(f)(self, &other); },
       "",
       {288}},
      {14,
       [&](void* f) { reinterpret_cast<void (*)(Controller*, vcl::TObject*)>(f)(self, &other); },
       "",
       {304}},
      {15, [&](void* f) { reinterpret_cast<void (*)(Controller*)>(f)(self); }, "", {320}},
      {16,
       [&](void* f) {
         reinterpret_cast<void (*)(Controller*, int32_t, vcl::TObject*)>(f)(self, 4242, &other);
       },
       "",
       {4242}},
      {17, [&](void* f) { reinterpret_cast<void (*)(Controller*)>(f)(self); }, "", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("slot " + std::to_string(row.slot));
    c.calls.clear();
    log.notices.clear();
    row.call(vtable[first + row.slot]);
    if (row.recorded.empty()) {
      EXPECT_TRUE(c.calls.empty());
    } else {
      ASSERT_EQ(c.calls.size(), 1u);
      EXPECT_EQ(c.calls[0], row.recorded);
    }
    ASSERT_EQ(log.notices.size(), row.notices.size());
    for (size_t i = 0; i < row.notices.size(); ++i) {
      EXPECT_EQ(log.notices[i].first, row.notices[i]);
      // The controller passes itself, whoever called it the sender.
      EXPECT_EQ(log.notices[i].second, static_cast<vcl::TObject*>(&c));
    }
  }
}

TEST(ControllerLayout, NoticesWithoutHandlerGoNowhere) {
  TRecordingController c;
  // Each base operation runs without a handler and sends nothing.
  c.DoCreated();
  c.DoShow(&c);
  c.DoHide(&c);
  c.DoDestroy(&c);
  c.DoFifthNotice();
  c.Notify(1, &c);
  c.Reserved();
  EXPECT_TRUE(c.calls.empty());
}

TEST(ControllerLayout, NoticeCodes) {
  EXPECT_EQ(DLLBaseCtrller::kNoticeCreated, 0x100);
  EXPECT_EQ(DLLBaseCtrller::kNoticeShown, 0x110);
  EXPECT_EQ(DLLBaseCtrller::kNoticeHidden, 0x120);
  EXPECT_EQ(DLLBaseCtrller::kNoticeDestroyed, 0x130);
  EXPECT_EQ(DLLBaseCtrller::kNoticeFifth, 0x140);
}

// GetController makes the registered class with the plain constructor, and
// raises the runtime's general exception with the platform's exact text
// when no class is registered.
TEST(GetController, MakesTheRegisteredClassOrRaises) {
  const auto saved = DLLBaseCtrller::DLLControllerClass;
  DLLBaseCtrller::DLLControllerClass = nullptr;
  try {
    GetController();
    ADD_FAILURE() << "no exception";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.ClassName(), "Exception");
    EXPECT_EQ(e.Message(), "VRK DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  }

  DLLBaseCtrller::DLLControllerClass = DLLBaseCtrller::ControllerClassOf<TRecordingController>();
  EXPECT_EQ(DLLBaseCtrller::DLLControllerClass->ClassName(), "TDLLBaseController");
  TDLLBaseController* made = GetController();
  ASSERT_NE(made, nullptr);
  EXPECT_NE(dynamic_cast<TRecordingController*>(made), nullptr);
  EXPECT_EQ(made->ResultCode, 0);
  EXPECT_TRUE(made->ResultValue.IsEmpty());
  EXPECT_FALSE(made->OnNotify.Assigned());
  TDLLBaseController* second = GetController();
  EXPECT_NE(second, made);  // a new one at every call
  delete second;
  delete made;
  DLLBaseCtrller::DLLControllerClass = saved;
}

}  // namespace
