#include "platform/sdl/gamepads.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "platform/window/messages.h"

CGamepads::~CGamepads() {
    for (const Pad& pad : m_pads) {
        if (pad.fd >= 0) {
            close(pad.fd);
        }
    }
}

void CGamepads::Start() {
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
