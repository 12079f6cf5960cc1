#include "platform/sdl/gamepads.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/window/messages.h"

namespace {

// Where a joystick shows: the kernel's joystick nodes, and udev's names for its devices.
constexpr const char* kDeviceFolders[] = {"/dev/input", "/dev/input/by-id", "/dev/input/by-path"};
constexpr const char* kJoystickPrefix = "js";
constexpr const char* kJoystickSuffix = "joystick";
constexpr size_t kWatchReadBytes = 4096;

bool HasEntry(const char* pszFolder) {
    DIR* pDir = opendir(pszFolder);
    if (pDir == nullptr) {
        return false;
    }
    bool bFound = false;
    while (const dirent* pEntry = readdir(pDir)) {
        bFound = bFound || CGamepads::IsJoystickName(pEntry->d_name);
    }
    closedir(pDir);
    return bFound;
}

}  // namespace

CGamepads::~CGamepads() {
    for (const Pad& pad : m_pads) {
        if (pad.fd >= 0) {
            close(pad.fd);
        }
    }
    if (m_nWatch >= 0) {
        close(m_nWatch);
    }
}

bool CGamepads::IsJoystickName(const char* pszName) {
    const size_t nLength = std::strlen(pszName);
    const size_t nSuffix = std::strlen(kJoystickSuffix);
    const bool bNode = std::strncmp(pszName, kJoystickPrefix, std::strlen(kJoystickPrefix)) == 0 &&
                       nLength > std::strlen(kJoystickPrefix);
    return bNode ||
           (nLength >= nSuffix && std::strcmp(pszName + nLength - nSuffix, kJoystickSuffix) == 0);
}

bool CGamepads::HasJoystick() const {
    return std::any_of(std::begin(kDeviceFolders), std::end(kDeviceFolders), HasEntry);
}

void CGamepads::StartWhenPlugged() {
    if (m_state == State::kStarted) {
        return;
    }
    if (m_state == State::kNotYet) {
        m_state = State::kWatching;
        m_nWatch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        for (const char* pszFolder : kDeviceFolders) {
            if (m_nWatch >= 0) {
                inotify_add_watch(m_nWatch, pszFolder, IN_CREATE | IN_MOVED_TO);
            }
        }
    } else {
        char buffer[kWatchReadBytes];
        bool bChanged = false;
        while (m_nWatch >= 0 && read(m_nWatch, buffer, sizeof(buffer)) > 0) {
            bChanged = true;
        }
        if (!bChanged) {
            return;
        }
    }
    if (HasJoystick()) {
        StartSubsystem();
    }
}

void CGamepads::StartSubsystem() {
    m_state = State::kStarted;
    if (m_nWatch >= 0) {
        close(m_nWatch);
        m_nWatch = -1;
    }
    // SDL says which pads are there already as it would say they were plugged in.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void CGamepads::Add(int nDeviceIndex) {
    SDL_GameController* pController = SDL_GameControllerOpen(nDeviceIndex);
    if (pController == nullptr) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pController));
    const char* pszPath = SDL_GameControllerPath(pController);
    const int fd = pszPath != nullptr ? open(pszPath, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    m_pads.push_back(Pad{id, pController, fd});
    UpdateDescriptors();
}

void CGamepads::Remove(SDL_JoystickID id) {
    const auto it =
        std::find_if(m_pads.begin(), m_pads.end(), [id](const Pad& pad) { return pad.id == id; });
    if (it == m_pads.end()) {
        return;
    }
    if (it->fd >= 0) {
        close(it->fd);
    }
    SDL_GameControllerClose(it->pController);
    m_pads.erase(it);
    UpdateDescriptors();
}

UINT CGamepads::VirtualKey(Uint8 nButton) {
    switch (nButton) {
        case SDL_CONTROLLER_BUTTON_A:
            return VK_GAMEPAD_A;
        case SDL_CONTROLLER_BUTTON_B:
            return VK_GAMEPAD_B;
        case SDL_CONTROLLER_BUTTON_START:
            return VK_GAMEPAD_MENU;
        default:
            return 0;
    }
}

void CGamepads::UpdateDescriptors() {
    m_fds.clear();
    for (const Pad& pad : m_pads) {
        if (pad.fd >= 0) {
            m_fds.push_back(pad.fd);
        }
    }
}
