#include "CommandLine.h"

namespace tvx {

SplitCommandLine splitCommandLine(const std::string& commandLine) {
  SplitCommandLine out;
  std::size_t pos = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    auto close = commandLine.find('"', 1);
    out.programPath = commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    pos = close == std::string::npos ? commandLine.size() : close + 1;
  } else {
    pos = commandLine.find_first_of(" \t");
    if (pos == std::string::npos) pos = commandLine.size();
    out.programPath = commandLine.substr(0, pos);
  }
  pos = commandLine.find_first_not_of(" \t", pos);
  if (pos != std::string::npos) out.tail = commandLine.substr(pos);
  return out;
}

}  // namespace tvx
