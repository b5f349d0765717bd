#pragma once

#include <memory>
#include <string>

#include "platform/core/Dispatch.h"
#include "platform/core/Variant.h"

/* The report's server work library (ProgramCode + "S.DLL"), loaded into
   this process to generate a report locally. */
namespace Outside {

/* The library's export that hands out its controller. */
inline constexpr char kServerControllerExport[] = "GetSvrController";

/* The form of that export: it stores a new controller object in Result (or
   leaves it empty). The controller answers "Run"(Args) - generate with the
   argument array - and "MessageText"() - the text of what it last
   reported ("" when nothing). */
using TGetSvrController = void (*)(platform::DispatchPtr* result);

/* A loaded server work library. Unloads it when destroyed, unless told to
   keep it; every object it handed out must be released before that. */
class TServerModule {
 public:
  /* Loads the library at Path; nullptr when it cannot be loaded. */
  static std::unique_ptr<TServerModule> Load(const std::string& path);
  ~TServerModule();
  TServerModule(const TServerModule&) = delete;
  TServerModule& operator=(const TServerModule&) = delete;

  /* True when the library has the export. */
  bool HasController() const { return export_ != nullptr; }
  /* A new controller from the export; raises platform::EOleError when the
     export is missing or gives no object. */
  platform::Variant NewController() const;
  /* Leave the library loaded when this object goes. */
  void KeepLoaded() { keep_ = true; }

 private:
  explicit TServerModule(void* handle);
  void* handle_;
  TGetSvrController export_ = nullptr;
  bool keep_ = false;
};

/* Run(Args) on a controller. */
void RunServerController(const platform::Variant& controller, const platform::Variant& args);
/* MessageText() of a controller, as text. */
std::string ServerControllerMessage(const platform::Variant& controller);

}  // namespace Outside
