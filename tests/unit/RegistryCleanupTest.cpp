#include <gtest/gtest.h>

#include "SimMachine.h"
#include "src/cleanup/Cleanup.h"
#include "src/platform/sim/Simulator.h"

namespace tvx {
namespace {

using test::SimMachine;

const char* kCompanions =
    "[HKEY_CLASSES_ROOT\\Spatial]\r\n@=\"3-D audio\"\r\n"
    "[HKEY_CLASSES_ROOT\\CLSID\\{5A17C3E2-0B4D-4F8A-9C61-2D7E8B3F4A90}\\InprocServer32]\r\n"
    "[HKEY_CLASSES_ROOT\\CLSID\\{3B6F04A2-91C7-4d5e-A83B-5C20E7F19D46}]\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ASIO\\TVX4400 ASIO]\r\n\"CLSID\"=\"{3b6f04a2-91c7-4D5E-a83b-5c20e7f19d46}\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ASIO\\Other ASIO]\r\n\"CLSID\"=\"{11111111-2222-3333-4444-555555555555}\"\r\n";

const char* kMedia =
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\services\\Class\\MEDIA\\0000]\r\n\"ProviderName\"=\"Other "
    "Audio\"\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\services\\Class\\MEDIA\\0001]\r\n\"DriverDesc\"=\"x\"\r\n"
    "\"ProviderName\"=\"tarvic Inc. audio\"\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\services\\Class\\MEDIA\\0001\\Drivers\\wave]\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\services\\Class\\MEDIA\\0002]\r\n\"providername\"=\"Tarvic\"\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\wave\\TVAUDIO.DRV<0001>]\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\wave\\OTHER.DRV<0000>]\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\midi\\tvmidi.drv<0001>]\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\midi\\0001]\r\n";

const char* kMediaClass = "System\\CurrentControlSet\\services\\Class\\MEDIA";
const char* kResources = "System\\CurrentControlSet\\control\\MediaResources";

TEST(CleanOldDriverRegistry, ARegistryWithoutTheMakerStaysAsItWas) {
  SimMachine m;
  m.registry(
      std::string(kCompanions) +
      "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_8086&DEV_7110]\r\n[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0211]\r\n"
      "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\ven_1d0c&dev_0111]\r\n[HKEY_LOCAL_MACHINE\\Enum\\TVX\\child0000]\r\n");
  const std::string before = sim::exportRegFile(m.machine.registry);
  EXPECT_EQ(CleanOldDriverRegistry(m.platform()), kNoDeviceKeyFound);
  EXPECT_EQ(sim::exportRegFile(m.machine.registry), before);
  EXPECT_EQ(m.sim.registry().openHandles(), 0u);
}

TEST(CleanOldDriverRegistry, MakersMediaInstancesGoEvenWhenNoDeviceIsFound) {
  SimMachine m;
  m.registry(kMedia);
  EXPECT_EQ(CleanOldDriverRegistry(m.platform()), kNoDeviceKeyFound);
  const std::string media = kMediaClass;
  EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, media + "\\0000"));
  EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, media + "\\0001")) << "provider name in other case, with more words";
  EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, media + "\\0002")) << "a value named providername is not the provider name";
  const std::string res = kResources;
  EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, res + "\\wave\\TVAUDIO.DRV<0001>"));
  EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, res + "\\midi\\tvmidi.drv<0001>"));
  EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, res + "\\wave\\OTHER.DRV<0000>"));
  EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, res + "\\midi\\0001"))
      << "a name shorter than five characters never matches";
  EXPECT_EQ(m.sim.registry().openHandles(), 0u) << "every instance key opened was closed";

  // A provider name of 79 characters fills the 80-byte buffer with its NUL, and is read.
  SimMachine full;
  full.registry(
      "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\services\\Class\\MEDIA\\0004]\r\n"
      "\"ProviderName\"=\"TARVIC" +
      std::string(73, 'x') + "\"\r\n");
  CleanOldDriverRegistry(full.platform());
  EXPECT_FALSE(full.hasKey(HKEY_LOCAL_MACHINE, media + "\\0004"));
}

TEST(CleanOldDriverRegistry, DeviceNodesGoAndTheCompanionsWithThem) {
  SimMachine m;
  m.registry(
      std::string(kCompanions) +
      "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_0000&DEV_0000]\r\n[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0100]\r\n"
      "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0111&SUBSYS_00011D0C\\BUS_00&DEV_0A]\r\n"
      "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0211]\r\n[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_9999]\r\n"
      "[HKEY_LOCAL_MACHINE\\Enum\\TVX\\CHILD0000]\r\n[HKEY_LOCAL_MACHINE\\Enum\\TVX\\CHILD0001]\r\n"
      "[HKEY_LOCAL_MACHINE\\Enum\\TVX\\Other]\r\n[HKEY_LOCAL_MACHINE\\Enum\\VIRTUAL\\SSC-JOYSTK\\0000]\r\n");
  EXPECT_EQ(CleanOldDriverRegistry(m.platform()), kRegistryCleaned);
  for (const char* gone :
       {"Enum\\PCI\\VEN_1D0C&DEV_0100", "Enum\\PCI\\VEN_1D0C&DEV_0111&SUBSYS_00011D0C", "Enum\\TVX\\CHILD0000",
        "Enum\\TVX\\CHILD0001", "Enum\\VIRTUAL\\SSC-JOYSTK", "SOFTWARE\\ASIO\\TVX4400 ASIO",
        "SOFTWARE\\Classes\\Spatial", "SOFTWARE\\Classes\\CLSID\\{5A17C3E2-0B4D-4F8A-9C61-2D7E8B3F4A90}",
        "SOFTWARE\\Classes\\CLSID\\{3B6F04A2-91C7-4d5e-A83B-5C20E7F19D46}"}) {
    EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, gone)) << gone;
  }
  for (const char* stays : {"Enum\\PCI\\VEN_0000&DEV_0000", "Enum\\PCI\\VEN_1D0C&DEV_0211", "Enum\\PCI\\VEN_9999",
                            "Enum\\TVX\\Other", "SOFTWARE\\ASIO\\Other ASIO"}) {
    EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, stays)) << stays;
  }
  EXPECT_EQ(CleanOldDriverRegistry(m.platform()), kNoDeviceKeyFound) << "a second run finds nothing";
  EXPECT_EQ(m.sim.registry().openHandles(), 0u);
}

TEST(CleanOldDriverRegistry, AsioListGoesOnlyWhenNothingIsLeftInIt) {
  SimMachine m;
  m.registry(
      "[HKEY_LOCAL_MACHINE\\Enum\\VIRTUAL\\SSC-SBEMU]\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ASIO\\TVX4400 ASIO]\r\n\"CLSID\"=\"{3B6F04A2-91C7-4d5e-A83B-5C20E7F19D46}\"\r\n");
  EXPECT_EQ(CleanOldDriverRegistry(m.platform()), kRegistryCleaned);
  EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\ASIO"));
}

TEST(CleanOldDriverRegistry, AFailedDeletionStopsWithItsCode) {
  const std::string tree = std::string(kCompanions) +
                           "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0100]\r\n"
                           "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0111]\r\n"
                           "[HKEY_LOCAL_MACHINE\\Enum\\TVX\\CHILD0000]\r\n"
                           "[HKEY_LOCAL_MACHINE\\Enum\\VIRTUAL\\SSC-SWMIDI]\r\n"
                           "[HKEY_LOCAL_MACHINE\\Enum\\VIRTUAL\\SSC-DOSEMU]\r\n";
  SimMachine pci;
  pci.registry(tree);
  pci.machine.undeletableKeys.insert("HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0111");
  EXPECT_EQ(CleanOldDriverRegistry(pci.platform()), kDeviceKeyDeleteFailed);
  EXPECT_FALSE(pci.hasKey(HKEY_LOCAL_MACHINE, "Enum\\PCI\\VEN_1D0C&DEV_0100")) << "what went before stays deleted";
  EXPECT_TRUE(pci.hasKey(HKEY_LOCAL_MACHINE, "Enum\\TVX\\CHILD0000")) << "later phases do not run";
  EXPECT_TRUE(pci.hasKey(HKEY_CLASSES_ROOT, "Spatial"));
  EXPECT_EQ(pci.sim.registry().openHandles(), 0u);

  SimMachine virt;
  virt.registry(tree);
  virt.machine.undeletableKeys.insert("HKEY_LOCAL_MACHINE\\Enum\\VIRTUAL\\SSC-SWMIDI");
  EXPECT_EQ(CleanOldDriverRegistry(virt.platform()), kVirtualKeyDeleteFailed);
  EXPECT_FALSE(virt.hasKey(HKEY_LOCAL_MACHINE, "Enum\\TVX\\CHILD0000"));
  EXPECT_TRUE(virt.hasKey(HKEY_LOCAL_MACHINE, "Enum\\VIRTUAL\\SSC-DOSEMU"));
  EXPECT_TRUE(virt.hasKey(HKEY_CLASSES_ROOT, "Spatial"));
}

TEST(CleanOldDriverRegistry, EveryInstanceOfALargeMediaClassIsExamined) {
  SimMachine m;
  std::string reg;
  char name[8];
  for (int i = 0; i < 130; ++i) {
    std::snprintf(name, sizeof(name), "%04d", i);
    reg += std::string("[HKEY_LOCAL_MACHINE\\") + kMediaClass + "\\" + name + "]\r\n\"ProviderName\"=\"" +
           (i == 120 ? "TARVIC" : "Other") + "\"\r\n";
  }
  m.registry(reg);
  CleanOldDriverRegistry(m.platform());
  EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, std::string(kMediaClass) + "\\0120"));
  EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, std::string(kMediaClass) + "\\0119"));
}

TEST(DeleteMediaResourceEntries, KeepsTheFirstFifteenMatches) {
  SimMachine m;
  std::string reg;
  for (int i = 0; i < 16; ++i) {
    reg += std::string("[HKEY_LOCAL_MACHINE\\") + kResources + "\\wave\\DRV" + std::to_string(10 + i) + "<0003>]\r\n";
  }
  m.registry(reg);
  DeleteMediaResourceEntries(m.platform(), std::string(kResources) + "\\wave", "0003");
  EXPECT_FALSE(m.hasKey(HKEY_LOCAL_MACHINE, std::string(kResources) + "\\wave\\DRV24<0003>"));
  EXPECT_TRUE(m.hasKey(HKEY_LOCAL_MACHINE, std::string(kResources) + "\\wave\\DRV25<0003>"));
}

}  // namespace
}  // namespace tvx
