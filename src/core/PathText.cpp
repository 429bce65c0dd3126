#include "PathText.h"

namespace tvx {

std::string withBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string windowsFolder(ISystemInfo& system) {
  char buffer[MAX_PATH] = {};
  const UINT n = system.GetWindowsDirectoryA(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? withBackslash(buffer) : std::string();
}

std::string systemFolder(ISystemInfo& system) {
  char buffer[MAX_PATH] = {};
  const UINT n = system.GetSystemDirectoryA(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? withBackslash(buffer) : std::string();
}

std::string infFolderIn(const std::string& windows) { return windows.empty() ? std::string() : windows + "INF\\"; }

std::string moduleFolder(ISystemInfo& system) {
  char path[MAX_PATH] = {};
  const DWORD n = system.GetModuleFileNameA(path, MAX_PATH);
  const std::string full(path);
  const auto slash = full.rfind('\\');
  if (n == 0 || n >= MAX_PATH || slash == std::string::npos) return {};
  return withBackslash(full.substr(0, slash));
}

std::string programName(ISystemInfo& system) {
  char path[MAX_PATH] = {};
  system.GetModuleFileNameA(path, MAX_PATH);
  std::string name(path);
  const auto slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace tvx
