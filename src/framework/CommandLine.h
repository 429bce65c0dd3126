// The command line as the framework splits it for the application.
#pragma once
#include <string>

namespace tvx {

struct SplitCommandLine {
  std::string programPath;  // the first element, without its quotes
  std::string tail;         // the rest, leading blanks removed
};

SplitCommandLine splitCommandLine(const std::string& commandLine);

}  // namespace tvx
