#include "platform/sdl/accessibility_loader.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/atspi/atspi_module.h"
#include "platform/atspi/desktop_status.h"
#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"
#include "platform/window/system_params.h"

namespace {

constexpr const char* kModuleFile = "/" HOPLIN_MODULE_NAME ".so";
constexpr const char* kBusVariable = "AT_SPI_BUS_ADDRESS";

enum class ModuleState { kNotLoaded, kLoaded, kFailed };
ModuleState g_module = ModuleState::kNotLoaded;

bool IsSet(const char* pszName, const char* pszValue = nullptr) {
    const char* psz = std::getenv(pszName);
    return psz != nullptr && *psz != '\0' &&
           (pszValue == nullptr || std::strcmp(psz, pszValue) == 0);
}

std::string ModulePath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return program.parent_path().string() + "/" HOPLIN_MODULE_DIR_FROM_BIN + kModuleFile;
}

void Warn(const char* pszWhy) {
    AfxWarn(std::string(AfxTranslate("warning: no screen reader support")) + ": " + pszWhy);
}

bool Start() {
    void* pModule = dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto pfnStart = pModule != nullptr
                              ? reinterpret_cast<AtspiStart>(dlsym(pModule, kAtspiStartSymbol))
                              : nullptr;
    if (pfnStart == nullptr) {
        Warn(dlerror());
        return false;
    }
    CAccessibilityDriver* pDriver = pfnStart(&AfxAccessibilityHost(), AfxGetProgramName());
    if (pDriver == nullptr) {
        Warn(AfxTranslate("the accessibility bus does not answer"));
        return false;
    }
    AfxSetAccessibilityDriver(pDriver);
    return true;
}

// Loads the module for the desktop's answer; the bridge, told where the bus is, need not ask
// the session bus itself, which could hold the UI thread.
bool Load(const DesktopAccessibility& answer) {
    if (!IsSet(kBusVariable)) {
        if (answer.strBusAddress.empty()) {
            Warn(AfxTranslate("the accessibility bus does not answer"));
            return false;
        }
        setenv(kBusVariable, answer.strBusAddress.c_str(), 1);
    }
    return Start();
}

}  // namespace

void AfxFollowDesktopAccessibility() {
    const DesktopAccessibility answer = AfxGetDesktopAccessibility();
    const bool bWanted = !IsSet("NO_AT_BRIDGE", "1") &&
                         (IsSet(kBusVariable) || answer.bEnabled || answer.bScreenReader);
    if (bWanted && g_module == ModuleState::kNotLoaded) {
        g_module = Load(answer) ? ModuleState::kLoaded : ModuleState::kFailed;
    }
    const BOOL bScreenReader = bWanted && g_module == ModuleState::kLoaded;
    SystemParametersInfo(SPI_SETSCREENREADER, bScreenReader, nullptr, SPIF_SENDCHANGE);
}
