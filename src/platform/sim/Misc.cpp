#include "CallNames.h"
#include "SimPlatform.h"

namespace tvx::sim {

void Time::Sleep(DWORD milliseconds) {
  m_.record("sleep", {{"ms", std::to_string(milliseconds)}, {"after", m_.lastQuery}});
  m_.lastQuery.clear();
  m_.sleepAwaitingQuestion = m_.log.size() - 1;
  m_.advance(milliseconds);
}

DWORD Time::SleepEx(DWORD milliseconds, BOOL) {
  Sleep(milliseconds);
  return 0;
}
DWORD Time::GetTickCount() { return 1000000 + m_.now; }

BOOL Restart::ExitWindowsEx(UINT flags, DWORD reason) {
  if (m_.injectFault("ExitWindowsEx", ERROR_PRIVILEGE_NOT_HELD)) return FALSE;
  // The NT family restarts only for a process that enabled its shutdown privilege.
  if (!m_.os.isWindows9x() && !m_.shutdownPrivilege) {
    m_.lastError = ERROR_PRIVILEGE_NOT_HELD;
    m_.record("restart refused", {{"flags", exitWindowsFlagNames(flags)},
                                  {"reason", std::to_string(reason)},
                                  {"refused", "no shutdown privilege"}});
    return FALSE;
  }
  m_.restartRequested = true;
  m_.record("restart", {{"flags", exitWindowsFlagNames(flags)}, {"reason", std::to_string(reason)}});
  return TRUE;
}

void ProcessExit::exitProcess(int code) {
  m_.exitCode = code;
  m_.record("exit", {{"code", std::to_string(code)}});
  throw ProcessExitRequest{code};
}

}  // namespace tvx::sim
