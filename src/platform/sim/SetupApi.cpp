// The setup API's installation source list and OEM INF registration on the simulated machine.
// The source list lives where the machine folder shows it: the REG_MULTI_SZ value
// "Installation Sources" of HKLM\Software\Microsoft\Windows\CurrentVersion\Setup.
#include "SetupApi.h"

#include <cstring>

#include "IniText.h"
#include "SimPlatform.h"

namespace tvx::sim {

namespace {

const char* const kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
const char* const kSourcesValue = "Installation Sources";

}  // namespace

std::vector<std::string> installationSources(const RegistryTree& registry) {
  std::vector<std::string> entries;
  const RegKey* key = registry.find(registry.localMachine(), kSetupKey);
  const RegValue* value = key != nullptr ? key->value(kSourcesValue) : nullptr;
  if (value == nullptr) return entries;
  std::string current;
  for (BYTE b : value->data) {
    if (b != 0) {
      current += static_cast<char>(b);
    } else if (!current.empty()) {
      entries.push_back(current);
      current.clear();
    } else {
      break;  // the empty string that closes the list
    }
  }
  if (!current.empty()) entries.push_back(current);
  return entries;
}

namespace {

void writeSources(RegistryTree& registry, const std::vector<std::string>& entries) {
  RegValue value;
  value.name = kSourcesValue;
  value.type = REG_MULTI_SZ;
  for (const auto& e : entries) {
    value.data.insert(value.data.end(), e.begin(), e.end());
    value.data.push_back(0);
  }
  value.data.push_back(0);
  registry.create(registry.root(HKEY_LOCAL_MACHINE), kSetupKey).setValue(std::move(value));
}

std::string joined(const std::vector<std::string>& entries) {
  std::string out;
  for (const auto& e : entries) out += (out.empty() ? "" : "; ") + e;
  return out.empty() ? "(empty)" : out;
}

// The INF's provider as Windows 98 and Me name their copy: [Version] Provider, with a %string%
// taken from [Strings] and surrounding quotes dropped.
std::string providerOf(const std::string& infText) {
  IniText inf(infText);
  std::string provider = trim(inf.get("Version", "Provider").value_or(""));
  if (provider.size() >= 2 && provider.front() == '%' && provider.back() == '%') {
    provider = trim(inf.get("Strings", provider.substr(1, provider.size() - 2)).value_or(""));
  }
  if (provider.size() >= 2 && provider.front() == '"' && provider.back() == '"') {
    provider = provider.substr(1, provider.size() - 2);
  }
  return provider;
}

}  // namespace

BOOL Devices::SetupQuerySourceListA(DWORD, LPCSTR** list, PUINT count) {
  if (m_.injectFault("SetupQuerySourceListA", ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  if (missing("setupapi.dll", "SetupQuerySourceListA")) return FALSE;
  if (m_.fails("SetupQuerySourceListA") || list == nullptr || count == nullptr) {
    m_.lastError = m_.fails("SetupQuerySourceListA") ? ERROR_CALL_NOT_IMPLEMENTED : ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  SourceList copy;
  copy.entries = installationSources(m_.registry);
  for (const auto& e : copy.entries) copy.pointers.push_back(e.c_str());
  copy.pointers.push_back(nullptr);  // so that even an empty list has an address of its own
  std::uintptr_t id = reinterpret_cast<std::uintptr_t>(copy.pointers.data());
  *count = static_cast<UINT>(copy.entries.size());
  auto& stored = sourceLists_[id] = std::move(copy);
  *list = stored.pointers.data();
  m_.record("source list", {{"queried", joined(stored.entries)}});
  return succeeded();
}

BOOL Devices::SetupSetSourceListA(DWORD, LPCSTR* list, UINT count) {
  if (m_.injectFault("SetupSetSourceListA", ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  if (missing("setupapi.dll", "SetupSetSourceListA")) return FALSE;
  if (m_.fails("SetupSetSourceListA") || (list == nullptr && count > 0)) {
    m_.lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  std::vector<std::string> entries;
  for (UINT i = 0; i < count; ++i) entries.emplace_back(list[i] != nullptr ? list[i] : "");
  m_.record("source list", {{"set", joined(entries)}});
  writeSources(m_.registry, entries);
  return succeeded();
}

BOOL Devices::SetupFreeSourceListA(LPCSTR** list, UINT) {
  if (missing("setupapi.dll", "SetupFreeSourceListA")) return FALSE;
  if (list == nullptr || *list == nullptr || sourceLists_.erase(reinterpret_cast<std::uintptr_t>(*list)) == 0) {
    m_.lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  *list = nullptr;
  return succeeded();
}

BOOL Devices::SetupCopyOEMInfA(LPCSTR sourceInf, LPCSTR mediaLocation, DWORD mediaType, DWORD, LPSTR, DWORD, PDWORD,
                               LPSTR*) {
  if (m_.injectFault("SetupCopyOEMInfA", ERROR_NOT_ENOUGH_MEMORY)) return FALSE;
  if (missing("setupapi.dll", "SetupCopyOEMInfA")) return FALSE;
  auto source = sourceInf != nullptr ? parseAbsolutePath(sourceInf) : std::nullopt;
  FileNode* node = source ? m_.fileAt(*source) : nullptr;
  if (m_.fails("SetupCopyOEMInfA") || node == nullptr || node->isDirectory) {
    m_.lastError = ERROR_FILE_NOT_FOUND;
    m_.record("oem inf", {{"inf", sourceInf != nullptr ? sourceInf : ""}, {"result", "failed"}});
    return FALSE;
  }
  // Windows 95, 98 and Me keep the copy in INF\OTHER under the provider's name and its own;
  // the NT family numbers its copies oem0.inf, oem1.inf, ... in INF.
  WinPath infFolder = m_.windowsPath();
  infFolder.parts.push_back("INF");
  WinPath copy = infFolder;
  if (m_.os.isWindows9x()) {
    copy.parts.push_back("OTHER");
    m_.files.makeDirectories(copy);
    copy.parts.push_back(providerOf(node->data) + source->leaf());
  } else {
    m_.files.makeDirectories(copy);
    for (int n = 0;; ++n) {
      WinPath candidate = copy;
      candidate.parts.push_back("oem" + std::to_string(n) + ".inf");
      if (m_.files.find(candidate) == nullptr) {
        copy = candidate;
        break;
      }
    }
  }
  const std::string data = node->data;
  m_.files.writeFile(copy, data);
  // The precompiled INF beside it records where the driver files are.
  WinPath pnf = copy;
  pnf.parts.back() = pnf.parts.back().substr(0, pnf.parts.back().size() - 3) + "PNF";
  m_.files.writeFile(pnf, std::string("PNF of ") + source->str() + "; source " +
                              (mediaLocation != nullptr ? mediaLocation : "") + "; media type " +
                              std::to_string(mediaType) + "\r\n");
  m_.record("oem inf", {{"inf", source->str()}, {"copy", copy.str()}, {"source", mediaLocation ? mediaLocation : ""}});
  return succeeded();
}

}  // namespace tvx::sim
