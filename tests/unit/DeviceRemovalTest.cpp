#include <gtest/gtest.h>

#include <cstring>

#include "SimMachine.h"
#include "src/cleanup/Cleanup.h"

namespace tvx {
namespace {

using test::SimMachine;

struct Call {
  BOOL result;
  int flag;
  std::string buffer;
  DWORD lastError;
};

Call removeDevice(SimMachine& m, int flag) {
  char wanted[256] = {};
  std::strcpy(wanted, "PCI\\VEN_1D0C&DEV_0111");
  BOOL result = RemoveDeviceByHardwareId(m.platform(), wanted, &flag);
  return Call{result, flag, wanted, m.platform().system.GetLastError()};
}

void addDevice(SimMachine& m, const char* instance, std::vector<std::string> ids, bool removalFails = false) {
  sim::Device d;
  d.instanceId = instance;
  d.hardwareIds = std::move(ids);
  d.removalFails = removalFails;
  m.machine.devices.push_back(d);
}

TEST(RemoveDeviceByHardwareId, RemovesTheFirstMatchFoundThroughALaterHardwareId) {
  SimMachine m;
  addDevice(m, "PCI\\VEN_8086&DEV_7110\\0", {"PCI\\VEN_8086&DEV_7110"});
  // A card that was taken out: Windows keeps its entry, but it is not among the present devices.
  addDevice(m, "PCI\\VEN_1D0C&DEV_0111\\GONE", {"PCI\\VEN_1D0C&DEV_0111&SUBSYS_GONE"});
  m.machine.devices.back().present = false;
  addDevice(m, "PCI\\BROKEN\\0", {});
  addDevice(
      m, "PCI\\VEN_1D0C&DEV_0111\\1",
      {"PCI\\VEN_1D0C&DEV_0211&SUBSYS_0", "PCI\\VEN_1D0C&DEV_0111&SUBSYS_00011D0C&REV_02", "PCI\\VEN_1D0C&DEV_0111"});
  addDevice(m, "PCI\\VEN_1D0C&DEV_0111\\2", {"PCI\\VEN_1D0C&DEV_0111"});
  Call call = removeDevice(m, 1);
  EXPECT_EQ(call.flag, 1);
  EXPECT_EQ(call.buffer, "PCI\\VEN_1D0C&DEV_0111&SUBSYS_00011D0C&REV_02");
  EXPECT_TRUE(m.machine.devices[1].present == false && m.happenings("device").size() == 1u)
      << "the card that is not present is not looked at";
  EXPECT_FALSE(m.machine.devices[3].present);
  EXPECT_TRUE(m.machine.devices[4].present) << "only one device per call";
  EXPECT_EQ(m.happenings("device")[0].field("removed"), "PCI\\VEN_1D0C&DEV_0111\\1");
  EXPECT_EQ(m.sim.devices().openLists(), 0u);
}

TEST(RemoveDeviceByHardwareId, WithoutTheSetupApiNothingIsFoundOrRemoved) {
  // Windows 95 as it ships has no setupapi.dll: the device list cannot be had.
  SimMachine m("win95");
  m.machine.missingDlls = {"setupapi.dll"};
  addDevice(m, "PCI\\VEN_1D0C&DEV_0111\\1", {"PCI\\VEN_1D0C&DEV_0111&SUBSYS_1"});
  Call call = removeDevice(m, 1);
  EXPECT_FALSE(call.result);
  EXPECT_EQ(call.flag, 1) << "the flag and the buffer stay as they were";
  EXPECT_EQ(call.buffer, "PCI\\VEN_1D0C&DEV_0111");
  EXPECT_EQ(call.lastError, ERROR_MOD_NOT_FOUND);
  EXPECT_TRUE(m.machine.devices[0].present);
}

TEST(RemoveDeviceByHardwareId, TheResultIsTheLastErrorOfTheCall) {
  // Whatever error came before the call or from an unreadable device on the way, the setup API
  // clears it with each successful call: the removal of the card ends the call with none.
  SimMachine m;
  addDevice(m, "PCI\\BROKEN\\0", {});
  addDevice(m, "PCI\\VEN_1D0C&DEV_0111\\1", {"PCI\\VEN_1D0C&DEV_0111"});
  m.machine.lastError = ERROR_ACCESS_DENIED;
  Call broken = removeDevice(m, 1);
  EXPECT_EQ(broken.flag, 1);
  EXPECT_EQ(broken.lastError, ERROR_SUCCESS);
  EXPECT_TRUE(broken.result);

  SimMachine clean;
  addDevice(clean, "PCI\\VEN_1D0C&DEV_0111\\1", {"PCI\\VEN_1D0C&DEV_0111"});
  Call removed = removeDevice(clean, 1);
  EXPECT_EQ(removed.lastError, ERROR_SUCCESS);
  EXPECT_TRUE(removed.result);
}

TEST(RemoveDeviceByHardwareId, WithTheFlagClearTheDeviceIsOnlyFound) {
  SimMachine m;
  addDevice(m, "PCI\\X\\1", {"PCI\\VEN_1D0C&DEV_0111&SUBSYS_1"});
  m.machine.lastError = 0;
  Call call = removeDevice(m, 0);
  EXPECT_TRUE(call.result);
  EXPECT_EQ(call.flag, 0);
  EXPECT_EQ(call.buffer, "PCI\\VEN_1D0C&DEV_0111&SUBSYS_1");
  EXPECT_TRUE(m.machine.devices[0].present);
}

TEST(RemoveDeviceByHardwareId, AFailedRemovalClearsTheFlagAndTriesNoOther) {
  SimMachine m;
  addDevice(m, "PCI\\X\\1", {"PCI\\VEN_1D0C&DEV_0111"}, true);
  addDevice(m, "PCI\\X\\2", {"PCI\\VEN_1D0C&DEV_0111"});
  Call call = removeDevice(m, 1);
  EXPECT_EQ(call.flag, 0);
  EXPECT_FALSE(call.result);
  EXPECT_EQ(call.lastError, ERROR_ACCESS_DENIED);
  EXPECT_TRUE(m.machine.devices[1].present);
}

TEST(RemoveDeviceByHardwareId, WithoutTheCardNothingChangesAndTheEnumerationErrorStays) {
  SimMachine m;
  addDevice(m, "PCI\\VEN_8086\\0", {"PCI\\VEN_8086&DEV_7110", "pci\\ven_1d0c&dev_0111"});
  Call call = removeDevice(m, 1);
  EXPECT_FALSE(call.result);
  EXPECT_EQ(call.flag, 1);
  EXPECT_EQ(call.buffer, "PCI\\VEN_1D0C&DEV_0111");
  EXPECT_EQ(call.lastError, ERROR_NO_MORE_ITEMS) << "kept across the release of the device list";
}

}  // namespace
}  // namespace tvx
