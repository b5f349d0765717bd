#include "outside/ServerModule.h"

#include <dlfcn.h>

#include "platform/core/Exception.h"

namespace Outside {

using platform::Variant;

std::unique_ptr<TServerModule> TServerModule::Load(const std::string& path) {
  // Local binding: two programs' server libraries may define the same names.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  return std::unique_ptr<TServerModule>(new TServerModule(handle));
}

TServerModule::TServerModule(void* handle) : handle_(handle) {
  export_ = reinterpret_cast<TGetSvrController>(dlsym(handle_, kServerControllerExport));
}

TServerModule::~TServerModule() {
  if (!keep_) dlclose(handle_);
}

Variant TServerModule::NewController() const {
  if (!export_) throw platform::EOleError(std::string("No export ") + kServerControllerExport);
  platform::DispatchPtr controller;
  export_(&controller);
  if (!controller) throw platform::EOleError("The server module gave no controller");
  return Variant(std::move(controller));
}

void RunServerController(const Variant& controller, const Variant& args) {
  platform::CallMethod(controller, "Run", {args});
}

std::string ServerControllerMessage(const Variant& controller) {
  return platform::VarToStr(platform::CallMethod(controller, "MessageText"));
}

}  // namespace Outside
