#include <gtest/gtest.h>

#include <cstring>

#include "SimMachine.h"
#include "src/cleanup/Cleanup.h"

namespace tvx {
namespace {

using test::SimMachine;

const char* kCard = "PCI\\VEN_1D0C&DEV_0111";

// What a call gave back and left behind.
struct Answer {
  BOOL result;
  int flag;
  std::string buffer;  // the hardware ID found, or what was looked for
  DWORD lastError;
  std::string present;  // which devices are present after the call, one digit each
  std::string seen;     // the removals the machine saw
};

TEST(RemoveDeviceByHardwareId, WhatEachCallFindsRemovesAndAnswers) {
  const sim::Device broken{"PCI\\BROKEN\\0", {}};  // its hardware IDs cannot be read
  const sim::Device card{"PCI\\VEN_1D0C&DEV_0111\\1", {kCard}};
  const std::string removed = "removed PCI\\VEN_1D0C&DEV_0111\\1;";
  struct Row {
    const char* name;
    std::vector<sim::Device> devices;
    struct {
      const char* os;  // Windows 95 as it ships has no setupapi.dll: the device list cannot be had
      int flag;        // asks for the removal
      DWORD errorBefore = 0;
    } call;
    Answer answer;
  };
  for (const Row& r : {
           Row{"the first match, found through a later hardware id; one device per call; a card that is not "
               "present is not looked at",
               {{"PCI\\VEN_8086&DEV_7110\\0", {"PCI\\VEN_8086&DEV_7110"}},
                {"PCI\\VEN_1D0C&DEV_0111\\GONE", {"PCI\\VEN_1D0C&DEV_0111&SUBSYS_GONE"}, false},
                broken,
                {"PCI\\VEN_1D0C&DEV_0111\\1",
                 {"PCI\\VEN_1D0C&DEV_0211&SUBSYS_0", "PCI\\VEN_1D0C&DEV_0111&SUBSYS_00011D0C&REV_02", kCard}},
                {"PCI\\VEN_1D0C&DEV_0111\\2", {kCard}}},
               {"win98se", 1},
               {TRUE, 1, "PCI\\VEN_1D0C&DEV_0111&SUBSYS_00011D0C&REV_02", ERROR_SUCCESS, "10101", removed}},
           Row{"without the setup API nothing is found: the flag and the buffer stay as they were",
               {{"PCI\\VEN_1D0C&DEV_0111\\1", {"PCI\\VEN_1D0C&DEV_0111&SUBSYS_1"}}},
               {"win95", 1},
               {FALSE, 1, kCard, ERROR_MOD_NOT_FOUND, "1", ""}},
           // Whatever error came before the call or from an unreadable device on the way, the setup
           // API clears it with each successful call: the removal ends the call with none.
           Row{"an error before the call and an unreadable device",
               {broken, card},
               {"win98se", 1, ERROR_ACCESS_DENIED},
               {TRUE, 1, kCard, ERROR_SUCCESS, "10", removed}},
           Row{"a plain removal", {card}, {"win98se", 1}, {TRUE, 1, kCard, ERROR_SUCCESS, "0", removed}},
           Row{"with the flag clear the device is only found",
               {{"PCI\\X\\1", {"PCI\\VEN_1D0C&DEV_0111&SUBSYS_1"}}},
               {"win98se", 0},
               {TRUE, 0, "PCI\\VEN_1D0C&DEV_0111&SUBSYS_1", ERROR_SUCCESS, "1", ""}},
           Row{"a failed removal clears the flag and tries no other",
               {{"PCI\\X\\1", {kCard}, true, true}, {"PCI\\X\\2", {kCard}}},
               {"win98se", 1},
               {FALSE, 0, kCard, ERROR_ACCESS_DENIED, "11", "removalFailed PCI\\X\\1;"}},
           Row{"without the card the enumeration's error stays, kept across the release of the device list",
               {{"PCI\\VEN_8086\\0", {"PCI\\VEN_8086&DEV_7110", "pci\\ven_1d0c&dev_0111"}}},
               {"win98se", 1},
               {FALSE, 1, kCard, ERROR_NO_MORE_ITEMS, "1", ""}},
       }) {
    SimMachine m(r.call.os);
    if (std::string(r.call.os) == "win95") m.machine.missingDlls = {"setupapi.dll"};
    m.machine.devices = r.devices;
    m.machine.lastError = r.call.errorBefore;
    char wanted[256] = {};
    std::strcpy(wanted, kCard);
    int flag = r.call.flag;
    EXPECT_EQ(RemoveDeviceByHardwareId(m.platform(), wanted, &flag), r.answer.result) << r.name;
    EXPECT_EQ(flag, r.answer.flag) << r.name;
    EXPECT_EQ(wanted, r.answer.buffer) << r.name;
    EXPECT_EQ(m.platform().system.GetLastError(), r.answer.lastError) << r.name;
    std::string present, seen;
    for (const auto& d : m.machine.devices) present += d.present ? "1" : "0";
    for (const auto& h : m.happenings("device")) seen += h.fields.at(0).first + " " + h.fields.at(0).second + ";";
    EXPECT_EQ(present, r.answer.present) << r.name;
    EXPECT_EQ(seen, r.answer.seen) << r.name;
    EXPECT_EQ(m.sim.devices().openLists(), 0u) << r.name;
  }
}

}  // namespace
}  // namespace tvx
