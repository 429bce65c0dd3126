#include "CSetupApp.h"

#include "../core/SourceDir.h"
#include "../core/Texts.h"
#include "../install/DriverInstallation.h"
#include "../suite/ApplicationSuite.h"
#include "../ui/Dialogs.h"
#include "Switches.h"

namespace tvx {

StartupFlow chooseStartupFlow(const InstallContext& ctx, const std::string& upperTail) {
  if (ctx.webSetup == 0 && isSuiteSwitch(upperTail)) return StartupFlow::ApplicationSuite;
  if (ctx.isNT5) return StartupFlow::HandOffToW2K;
  if (ctx.webSetup == 0 && (isDriverSwitch(upperTail) || ctx.driverOnly != 0)) return StartupFlow::DriverOnlyFromCd;
  if (ctx.webSetup == 0) return StartupFlow::MainDialog;
  if (ctx.webSetup == 1) return StartupFlow::OptionDialog;
  return StartupFlow::WebPackage;
}

BOOL CSetupApp::InitInstance() {
  const Platform& p = platform();
  // A version that cannot be read leaves every flag clear, and the flows go as for a Windows no
  // flag names: the suite of "/AP", the main dialog, the option dialogs; a driver run refuses it.
  const bool versionKnown = classifyOs(ctx_, p.system);
  ctx_.sourceDir = sourceDirOf(m_programPath, versionKnown, p);
  readInstallOptions(ctx_, p.profiles);
  ApplyStartupAudioSettings(ctx_, p);
  uppercaseInPlace(m_lpCmdLine);

  switch (chooseStartupFlow(ctx_, m_lpCmdLine)) {
    case StartupFlow::ApplicationSuite:
      InstallApplicationSuiteFromCommandLine(ctx_, p);
    case StartupFlow::HandOffToW2K:
      HandOffToW2KSetup(m_lpCmdLine);
      return FALSE;
    case StartupFlow::DriverOnlyFromCd:
    case StartupFlow::WebPackage: {
      if (ctx_.isNT4) p.exit.Exit(0);
      const bool fromCd = ctx_.webSetup == 0;
      RunDriverInstallation(ctx_, p, fromCd ? DriverRunKind::CommandLine : DriverRunKind::WebPackage, nullptr);
      p.exit.Exit(0);
    }
    case StartupFlow::MainDialog:
      Enable3dControls();
      RunSetupDialog(*this, ctx_, p);
      return FALSE;
    case StartupFlow::OptionDialog:
      Enable3dControls();
      if (ctx_.installWDMDriver != 0) {
        RunWdmOptionsDialog(*this, ctx_, p);
      } else {
        RunVxdOptionsDialog(*this, ctx_, p);
      }
      return FALSE;
  }
  return FALSE;
}

void CSetupApp::HandOffToW2KSetup(const std::string& upperTail) {
  const Platform& p = platform();
  std::string installer = ctx_.sourceDir + "W2KSetup.dat";
  if (!p.files.CanOpenForReading(installer.c_str())) installer = ctx_.sourceDir + "W2KSetup.exe";
  if (!p.files.CanOpenForReading(installer.c_str())) {
    p.windows.MessageBoxA(nullptr, kHandOffMissingText, kSetupCaption, MB_OK);
    return;
  }
  // Quoted when it holds a blank: unquoted, Windows would try "E:\Driver.exe" first.
  std::string command = installer.find(' ') != std::string::npos ? "\"" + installer + "\"" : installer;
  if (isDriverSwitch(upperTail) || ctx_.driverOnly != 0) command += " /DRIVER";
  if (p.processes.WinExec(command.c_str(), SW_SHOW) <= 31) {
    p.windows.MessageBoxA(nullptr, kHandOffNotStartedText, kSetupCaption, MB_OK);
  }
}

}  // namespace tvx
