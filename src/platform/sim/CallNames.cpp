#include "CallNames.h"

#include <cstdio>

namespace tvx::sim {

namespace {

struct Flag {
  DWORD value;
  const char* name;
};

std::string hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%X", static_cast<unsigned>(value));
  return text;
}

// The names of the flags set, joined with " | "; bits without a name follow as one number.
template <std::size_t N>
std::string flagNames(DWORD flags, const Flag (&known)[N]) {
  std::string out;
  for (const Flag& f : known) {
    if ((flags & f.value) == 0) continue;
    out += (out.empty() ? "" : " | ") + std::string(f.name);
    flags &= ~f.value;
  }
  if (flags != 0) out += (out.empty() ? "" : " | ") + hex(flags);
  return out;
}

}  // namespace

std::string showStateName(UINT show) {
  static const char* const names[] = {"SW_HIDE",           "SW_SHOWNORMAL", "SW_SHOWMINIMIZED", "SW_SHOWMAXIMIZED",
                                      "SW_SHOWNOACTIVATE", "SW_SHOW",       "SW_MINIMIZE",      "SW_SHOWMINNOACTIVE",
                                      "SW_SHOWNA",         "SW_RESTORE",    "SW_SHOWDEFAULT",   "SW_FORCEMINIMIZE"};
  return show < sizeof(names) / sizeof(names[0]) ? names[show] : std::to_string(show);
}

std::string startupFlagNames(DWORD flags) {
  static const Flag known[] = {
      {0x1, "STARTF_USESHOWWINDOW"},    {0x2, "STARTF_USESIZE"},           {0x4, "STARTF_USEPOSITION"},
      {0x8, "STARTF_USECOUNTCHARS"},    {0x10, "STARTF_USEFILLATTRIBUTE"}, {0x20, "STARTF_RUNFULLSCREEN"},
      {0x40, "STARTF_FORCEONFEEDBACK"}, {0x80, "STARTF_FORCEOFFFEEDBACK"}, {0x100, "STARTF_USESTDHANDLES"}};
  return flags == 0 ? "0" : flagNames(flags, known);
}

std::string exitWindowsFlagNames(UINT flags) {
  static const Flag known[] = {
      {0x1, "EWX_SHUTDOWN"}, {0x2, "EWX_REBOOT"}, {0x4, "EWX_FORCE"}, {0x8, "EWX_POWEROFF"}, {0x10, "EWX_FORCEIFHUNG"}};
  return flags == 0 ? "EWX_LOGOFF" : flagNames(flags, known);
}

}  // namespace tvx::sim
