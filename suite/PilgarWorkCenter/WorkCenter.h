#pragma once

#include <memory>

#include "platform/core/Dispatch.h"
#include "suite/PilgarWorkCenter/ServerLink.h"

namespace pilgarwc {

/* The host object "PilgarWorkCenter.Manager": what the suite's desktop host
   hands to its plug-ins, and what a plug-in running on its own creates by
   class name. It holds one link to the system server (ServerLink), shared
   by its services; texts it answers are GB byte strings, as the server's.

   - Com_Counter(), Com_Validator(), Com_F2Window() -> the counter,
     validation and lookup services (Services.h); the same objects at every
     call.
   - GetMessage(Type, Number) -> the message text ("%s" marks arguments).
   - GetFileList([file name]) -> the file information of a work library
     ("<Modify>stamp</Modify><Path>full name</Path>"), "" when unknown.
   - CallHelp([three letters, help number]) -> true when the help page
     <ClientPath>/Help/<number>.html was opened; a missing page shows a
     message naming the number and answers false.
   A call whose server cannot be reached raises EOleError. */
class Manager : public platform::AutoObject {
 public:
  static constexpr char kClassName[] = "PilgarWorkCenter.Manager";
  Manager();
  ~Manager() override;

  /* The link the services share (tests read which way it went). */
  const ServerLink& Link() const { return *link_; }

 private:
  platform::Variant CallHelp(const platform::Variant& args);

  std::shared_ptr<ServerLink> link_;
  platform::Variant counter_;
  platform::Variant validator_;
  platform::Variant lookup_;
};

/* A new host object, for a host program that links this library: the
   desktop host creates it in its own process (on its user-interface
   thread, with its Qt application running) and hands it to the plug-in. */
platform::DispatchPtr NewHostObject();

/* Registers "PilgarWorkCenter.Manager" in this process (ahead of the
   registry), so that a plug-in creating the host object by class name
   gets this library's object. */
void RegisterHostObject();

}  // namespace pilgarwc
