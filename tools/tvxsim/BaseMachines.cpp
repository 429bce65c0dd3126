#include "BaseMachines.h"

#include <fstream>

namespace fs = std::filesystem;

namespace tvx::sim {

namespace {

// Windows' kernel-streaming INF files of the 98 family, with the copy lines the driver's
// installation marks.
const char* const kKsInf =
    "; Kernel streaming\r\n[Version]\r\nsignature=\"$CHICAGO$\"\r\nClass=MEDIA\r\nLayoutFile=layout.inf\r\n\r\n"
    "[DefaultInstall]\r\nCopyFiles=KS.CopyList\r\nDelFiles=KS.DelFiles\r\n\r\n"
    "[KS.CopyList]\r\nksuser.dll,,,0x00000002\r\nstream.sys\r\nks.sys,,,0x00000002\r\nksproxy.ax\r\n\r\n"
    "[KS.DelFiles]\r\nks.sys\r\nstream.sys\r\n";
const char* const kWdmAudioInf =
    "; WDM audio\r\n[Version]\r\nsignature=\"$CHICAGO$\"\r\nClass=MEDIA\r\n\r\n"
    "[WDMAUDIO.CopyList]\r\nwdmaud.drv\r\nksuser.dll\r\nKS.SYS,,,0x00000002\r\nstream.sys\r\n\r\n"
    "[WDMAUDIO.DelFiles]\r\nks.sys\r\n";
const char* const kKsFilterInf =
    "; Kernel streaming filters\r\n[Version]\r\nsignature=\"$CHICAGO$\"\r\nClass=MEDIA\r\n\r\n"
    "[SourceDisksFiles]\r\nmspclock.sys=1\r\nmskssrv.sys=1\r\n\r\n"
    "[MSPCLOCK.CopyList]\r\nmspclock.sys\r\n\r\n[MSKSSRV.CopyList]\r\nmskssrv.sys,,,0x00000002\r\n";
// The earlier driver's INF, as Windows keeps it in INF\OTHER.
const char* const kEarlierInf =
    "[Version]\r\nSignature=\"$CHICAGO$\"\r\nClass=MEDIA\r\nProvider=%Tarvic%\r\n\r\n"
    "[Strings]\r\nTarvic=\"Tarvic\"\r\nSSC-Legacy.DeviceDesc=\"TVX4400 Legacy Devices\"\r\n";

const char* const kCardReg =
    "REGEDIT4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0001]\r\n"
    "\"DriverDesc\"=\"TVX4400/QSND PCI Audio Device\"\r\n\"ProviderName\"=\"Tarvic\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0001\\Settings]\r\n"
    "\"EnableLegacy\"=dword:00000002\r\n\"JackConfig\"=dword:00000005\r\n";

struct Version {
  const char* name;
  const char* title;
  const char* windows;  // the Windows folder below C:\, as Setup installs it
  const char* system;   // the system folder below it
};

const Version kVersions[] = {
    {"win95", "Windows 95", "WINDOWS", "SYSTEM"},      {"win98", "Windows 98", "WINDOWS", "SYSTEM"},
    {"win98se", "Windows 98 SE", "WINDOWS", "SYSTEM"}, {"winme", "Windows Me", "WINDOWS", "SYSTEM"},
    {"nt40", "Windows NT 4.0", "WINNT", "SYSTEM32"},   {"win2k", "Windows 2000", "WINNT", "SYSTEM32"},
    {"winxp", "Windows XP", "WINDOWS", "SYSTEM32"},
};

const Version& versionOf(const std::string& name) {
  for (const Version& v : kVersions) {
    if (name == v.name) return v;
  }
  return kVersions[0];
}

void write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

const std::vector<std::string>& matrixVersions() {
  static const std::vector<std::string> versions = {"win95", "win98", "win98se", "winme", "nt40", "win2k", "winxp"};
  return versions;
}

std::string versionTitle(const std::string& version) { return versionOf(version).title; }

void writeBaseMachine(const std::string& version, const fs::path& folder) {
  const Version& v = versionOf(version);
  const bool windows9x = version == "win95" || version == "win98" || version == "win98se" || version == "winme";
  const fs::path windows = folder / "drives" / "C" / v.windows;
  const std::string win = std::string("C:\\") + v.windows;

  write(windows / "WIN.INI", "[windows]\r\nload=\r\nrun=C:\\TOOLS\\CLOCK.EXE\r\n");
  write(windows / "mixerdef.ini", "[RUNTIME]\r\nInitialize=1\r\n");
  write(windows / "Mixer.exe", "MZ mixer of the earlier driver\r\n");
  write(windows / v.system / "SysTray.exe", "MZ tray program\r\n");
  write(windows / "INF" / "OTHER" / "TarvicTVAUDIO.INF", kEarlierInf);
  fs::create_directories(windows / "OPTIONS" / "CABS");
  if (version != "win95" && windows9x) {
    write(windows / "INF" / "ks.inf", kKsInf);
    write(windows / "INF" / "wdmaudio.inf", kWdmAudioInf);
    write(windows / "INF" / "ksfilter.inf", kKsFilterInf);
    write(windows / "INF" / "Drvdata.bin", "driver information cache\r\n");
    write(windows / "INF" / "Drvidx.bin", "driver information index\r\n");
  }
  if (windows9x) write(windows / v.system / "TVAUDIO.VXD", "MZ earlier VxD driver\r\n");

  // The sources Windows was installed from, the tray's volume icon shown, the earlier driver's
  // class instance and device node.
  std::string sources;
  for (const std::string& s : {std::string("D:\\WIN9X"), win + "\\OPTIONS\\CABS"}) {
    for (char c : s) {
      static const char* const hex = "0123456789abcdef";
      sources += std::string(sources.empty() ? "" : ",") + hex[(c >> 4) & 0xF] + hex[c & 0xF];
    }
    sources += ",00";
  }
  sources += ",00";
  std::string reg = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup]\r\n";
  reg += "\"SourcePath\"=\"" + std::string("C:\\\\") + v.windows + "\\\\OPTIONS\\\\CABS\"\r\n";
  reg += "\"Installation Sources\"=hex(7):" + sources + "\r\n\r\n";
  reg += "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray]\r\n";
  reg += "\"Services\"=dword:00000007\r\n\r\n";
  reg += "[HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray]\r\n";
  reg += "\"Services\"=dword:00000005\r\n\r\n";
  reg += "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0000]\r\n";
  reg += "\"DriverDesc\"=\"TVX4400 PCI Audio\"\r\n\"ProviderName\"=\"Tarvic Inc.\"\r\n\r\n";
  reg += "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1D0C&DEV_0111&SUBSYS_00000000]\r\n";
  reg += "\"DeviceDesc\"=\"TVX4400 PCI Audio\"\r\n";
  write(folder / "registry.reg", reg);
  write(folder / "card.reg", kCardReg);

  std::string ini = "; The matrix's " + std::string(v.title) + ": a fresh " + v.title +
                    " with the TVX4400 card and an earlier driver of it.\r\n";
  ini += "[Machine]\r\nos=" + version + "\r\nwindows=" + win + "\r\n\r\n";
  ini +=
      "[Devices]\r\ndevice=PCI\\VEN_1D0C&DEV_0111&SUBSYS_00000000\\3&61AAA01&0&48; "
      "ids=PCI\\VEN_1D0C&DEV_0111&SUBSYS_00000000, PCI\\VEN_1D0C&DEV_0111\r\n\r\n";
  ini += "[Events]\r\n";
  ini += "event=reenumeration + 6 s; mixers=1\r\n";
  ini += "event=reenumeration + 7 s; open=Tarvic Driver Setup|TVDNINST\r\n";
  ini += "event=reenumeration + 7 s; import=card.reg\r\n";
  ini += "event=reenumeration + 12 s; close=TVDNINST\r\n";
  ini += "event=reenumeration + 14 s; traybit=on\r\n";
  write(folder / "machine.ini", ini);
}

}  // namespace tvx::sim
