// The setup program's application object: builds the installation context and runs one flow.
#pragma once
#include "../framework/CWinApp.h"
#include "../core/InstallContext.h"

namespace tvx {

// The six flows of the start-up, in the order in which they are tested.
enum class StartupFlow { ApplicationSuite, HandOffToW2K, DriverOnlyFromCd, MainDialog, OptionDialog, WebPackage };

StartupFlow chooseStartupFlow(const InstallContext& ctx, const std::string& upperTail);

class CSetupApp : public CWinApp {
 public:
  explicit CSetupApp(const Platform& platform) : CWinApp(platform) {}
  BOOL InitInstance() override;

  const InstallContext& context() const { return ctx_; }

 private:
  // Starts the separate Windows 2000/XP installer without waiting for it.
  void HandOffToW2KSetup(const std::string& upperTail);

  InstallContext ctx_;
};

}  // namespace tvx
