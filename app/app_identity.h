// How the program is known to the desktop.
#pragma once

namespace app_identity {

// The application id: window class, desktop file, icon and metainfo names.
constexpr const char* kAppId = "org.hoplin.Hoplin";
constexpr const char* kName = "Hoplin";
constexpr const char* kExecutable = "hoplin";

}  // namespace app_identity
