// The "SourceDisksNames" rewrite on any INF bytes, for both families: the key written reads back
// as written.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzMachine.h"
#include "src/install/Steps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (bool vxd : {true, false}) {
    tvx::fuzz::FuzzMachine m;
    const char* path = "C:\\WINDOWS\\INF\\FUZZ.INF";
    m.write(path, std::string(reinterpret_cast<const char*>(data), size));
    tvx::IProfiles& profiles = m.platform().profiles;
    char before[1024] = {};
    profiles.GetPrivateProfileStringA("SourceDisksNames", vxd ? "1" : "200", "", before, sizeof(before), path);
    tvx::RewriteInfSourceDisks(m.platform(), {path}, vxd);
    char after[2048] = {};
    profiles.GetPrivateProfileStringA("SourceDisksNames", vxd ? "1" : "200", "", after, sizeof(after), path);
    if (before[0] == '\0') continue;
    std::string expected = vxd ? std::string(before) + ", C:\\PROGRA~1\\TARVIC\\W95-98"
                               : "\"Tarvic WDM Audio Driver Disk\",,,C:\\PROGRA~1\\TARVIC\\W2K-ME";
    // A value read from quotes may begin with blanks; written back without them, they are lost.
    expected.erase(0, expected.find_first_not_of(" \t\r\n"));
    // The profile functions drop one pair of quotes around a value they read.
    std::string read = after;
    if (read != expected && !(expected.size() >= 2 && expected.front() == '"' && expected.back() == '"' &&
                              read == expected.substr(1, expected.size() - 2))) {
      std::abort();
    }
  }
  return 0;
}
