// The option lines of the package's INF files that the option dialogs set, and the VxD
// installation of the VxD options dialog.
#pragma once
#include <string>

#include "../platform/Platform.h"

namespace tvx {

// The VxD driver's INF option values, as the VxD options dialog derives them from its check boxes.
struct VxdInfOptions {
  bool midiPortDisabled = false;
  bool gamePortDisabled = false;
  int lineInAsRear = 1;
  int lineInAsBass = 0;
  int micAsBass = 0;
};

// What InstallVxdWithOptions takes from the dialog.
struct VxdInstallInputs {
  std::string sourceDir;  // the package folder, ending in a backslash
  int fullPackage = 0;
  VxdInfOptions options;
};

// What patching an option line came to: the value written, no such line in the file (it stays as
// it is), or the file could not be read or written.
enum class OptionLinePatch { Written, NotFound, Failed };

// Finds, from the stream's position, the first line that is `lineText` and overwrites the line's
// last character (its last digit) with `digit`, after waiting `waitMs`. The line is found by the
// place where it starts, so a file with bare LF line ends is patched as one with CR LF.
OptionLinePatch PatchInfOptionLine(const Platform& platform, FileStream* inf, const char* lineText, char digit,
                                   DWORD waitMs);

// Finds, from the start, the first line that begins with `lineText` and overwrites its
// character 48 with `value`, after waiting `waitMs`.
OptionLinePatch PatchWdmOptionLine(const Platform& platform, FileStream* inf, const char* lineText, char value,
                                   DWORD waitMs);

// Installs the VxD package of the download with the dialog's options and restarts Windows; ends
// the process (also when it refuses Windows NT, 2000 and XP).
[[noreturn]] void InstallVxdWithOptions(const VxdInstallInputs& inputs, const Platform& platform, HWND dialog);

}  // namespace tvx
