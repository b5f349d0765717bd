#include "suite/PilgarWorkCenter/Services.h"

#include <QApplication>
#include <utility>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"
#include "suite/PilgarWorkCenter/DatePicker.h"
#include "suite/PilgarWorkCenter/LookupWindow.h"

namespace pilgarwc {

using platform::Variant;

namespace {

// Indexes of the lookup's argument array that the window uses.
enum F2Index {
  kF2Table = 0,
  kF2Kind = 1,
  kF2Key = 2,
  kF2Multi = 3,
  kF2Text = 4,
  kF2DbName = 6,
  kF2BaseLimited = 14,
};
constexpr int32_t kF2High = 18;        // the current generation's array
constexpr int32_t kF2HighCompat = 16;  // the earlier generation's

// A method that hands its arguments to the server method of the same name
// and gives back what the server changed in them.
// The windows need the host's Qt application; without one Qt would end the
// process, so the call fails instead.
void RequireApplication(const char* call) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw platform::EOleError(std::string(call) + ": no running application to show the window in");
}

platform::AutoObject::Method Forward(const std::shared_ptr<ServerLink>& link, const char* name) {
  return [link, name](std::vector<Variant>& args) { return link->Call(name, args); };
}

}  // namespace

std::string GbText(const Variant& value) {
  if (value.Type() == platform::VarType::OleStr)
    return platform::WideToBytes(value.AsWideString(), platform::CP_GBK);
  return platform::VarToStr(value);
}

CounterService::CounterService(std::shared_ptr<ServerLink> link)
    : AutoObject(kClassName), link_(std::move(link)) {
  AddMethod("GetSysInfo", 1, 1, Forward(link_, "GetSysInfo"));
  AddMethod("GetCounter", 2, 3, Forward(link_, "GetCounter"));
}

ValidatorService::ValidatorService(std::shared_ptr<ServerLink> link)
    : AutoObject(kClassName), link_(std::move(link)) {
  AddProperty(
      "BaseLimited", [this] { return baseLimited_; },
      [this](const Variant& value) {
        // The server object is this host's own: setting it once holds for
        // every later check. (The windows set it again before each check, so
        // a socket connection made afresh after a loss needs nothing more.)
        platform::PutProperty(link_->Server(), "BaseLimited", value);
        baseLimited_ = value;
      });
  AddMethod("CheckValue", 4, 5, Forward(link_, "CheckValue"));
  AddMethod("QueryData", 4, 5, Forward(link_, "QueryData"));
}

LookupService::LookupService(std::shared_ptr<ServerLink> link)
    : AutoObject(kClassName), link_(std::move(link)) {
  AddMethod("F2GetData", 1, 1, [this](std::vector<Variant>& a) { return F2GetData(a[0]); });
  AddMethod("ShowInputDay", 1, 1, [this](std::vector<Variant>& a) { return ShowInputDay(a[0]); });
}

Variant LookupService::F2GetData(const Variant& args) {
  if (!args.IsArray() || args.DimCount() != 1 || args.LowBound() != 0 ||
      (args.HighBound() != kF2High && args.HighBound() != kF2HighCompat))
    throw platform::EBadArgument("F2GetData expects an array of 19 (or 17) elements");
  RequireApplication("F2GetData");
  LookupRequest request;
  request.Table = GbText(args[kF2Table]);
  request.Kind = GbText(args[kF2Kind]);
  request.Key = args[kF2Key];
  request.Multi =
      !args[kF2Multi].IsEmpty() && !args[kF2Multi].IsNull() && args[kF2Multi].AsBoolean();
  request.StartText = GbText(args[kF2Text]);
  const Variant dbName = args[kF2DbName];
  const Variant limits(GbText(args[kF2BaseLimited]));
  const std::shared_ptr<ServerLink> link = link_;
  return RunLookupWindow(request, [link, request, dbName, limits](const std::string& search) {
    std::vector<Variant> call{Variant(request.Table),
                              Variant(request.Kind),
                              dbName,
                              request.Key,
                              Variant(search),
                              limits};
    return link->Call("LookupRows", call);
  });
}

Variant LookupService::ShowInputDay(const Variant& args) {
  if (!args.IsArray() || args.DimCount() != 1 || args.HighBound() - args.LowBound() < 1)
    throw platform::EBadArgument("ShowInputDay expects [Minguo flag, yyyymmdd, DbName]");
  RequireApplication("ShowInputDay");
  const Variant& flag = args[args.LowBound()];
  const bool minguo = !flag.IsEmpty() && !flag.IsNull() && flag.AsBoolean();
  return Variant(RunDatePicker(minguo, GbText(args[args.LowBound() + 1])));
}

}  // namespace pilgarwc
