// A host object in a process without a Qt application (a service or a
// console tool): the calls that need no window work, the windows refuse.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "suite/PilgarWorkCenter/WorkCenter.h"
#include "suite/PilgarWorkCenter/test/LookupArgs.h"

namespace pilgarwc::test {
namespace {

using platform::CallMethod;
using platform::VarArrayOf;
using platform::Variant;

TEST(NoApplicationTest, WindowsRefuseAndHelpSaysNotFound) {
  std::random_device random;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vk-noapp-" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "registry.reg") << "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\n"
                                         << "\"ClientPath\"=\"" << folder.string() << "/\"\n";
  platform::SetRegistryFile((folder / "registry.reg").string());

  const Variant host(NewHostObject());
  const Variant lookup = CallMethod(host, "Com_F2Window");
  EXPECT_THROW(CallMethod(lookup, "F2GetData",
                          {F2Args("CMSMB", VarArrayOf({Variant("")}), false, Variant(""))}),
               platform::EOleError);
  EXPECT_THROW(CallMethod(lookup, "ShowInputDay",
                          {VarArrayOf({Variant(false), Variant("20240305"), Variant("")})}),
               platform::EOleError);
  EXPECT_EQ(CallMethod(host, "CallHelp", {VarArrayOf({Variant("PVQ"), Variant("12820000")})}),
            Variant(false));

  platform::SetRegistryFile(std::nullopt);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace pilgarwc::test
