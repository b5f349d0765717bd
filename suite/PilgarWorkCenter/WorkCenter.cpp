#include "suite/PilgarWorkCenter/WorkCenter.h"

#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"
#include "suite/PilgarWorkCenter/Help.h"
#include "suite/PilgarWorkCenter/Services.h"

namespace pilgarwc {

using platform::Variant;

Manager::Manager() : AutoObject(kClassName), link_(std::make_shared<ServerLink>()) {
  counter_ = Variant(platform::DispatchPtr(std::make_shared<CounterService>(link_)));
  validator_ = Variant(platform::DispatchPtr(std::make_shared<ValidatorService>(link_)));
  lookup_ = Variant(platform::DispatchPtr(std::make_shared<LookupService>(link_)));
  AddMethod("Com_Counter", 0, 0, [this](std::vector<Variant>&) { return counter_; });
  AddMethod("Com_Validator", 0, 0, [this](std::vector<Variant>&) { return validator_; });
  AddMethod("Com_F2Window", 0, 0, [this](std::vector<Variant>&) { return lookup_; });
  AddMethod("GetMessage", 2, 2,
            [this](std::vector<Variant>& a) { return link_->Call("GetMessage", a); });
  AddMethod("GetFileList", 1, 1,
            [this](std::vector<Variant>& a) { return link_->Call("GetFileList", a); });
  AddMethod("CallHelp", 1, 1, [this](std::vector<Variant>& a) { return CallHelp(a[0]); });
}

Manager::~Manager() = default;

Variant Manager::CallHelp(const Variant& args) {
  if (!args.IsArray() || args.DimCount() != 1 || args.HighBound() - args.LowBound() < 1)
    throw platform::EBadArgument("CallHelp expects [three letters, help number]");
  return Variant(ShowHelpPage(platform::Trim(GbText(args[args.LowBound() + 1]))));
}

platform::DispatchPtr NewHostObject() { return std::make_shared<Manager>(); }

void RegisterHostObject() { platform::RegisterObjectFactory(Manager::kClassName, NewHostObject); }

}  // namespace pilgarwc
