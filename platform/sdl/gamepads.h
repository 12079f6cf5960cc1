// Game controllers: every pad that SDL's mapping database knows, opened as it is plugged in
// and closed as it goes, several at once. The sdl layer's own; UI thread only.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/base/win_types.h"

class CGamepads {
public:
    CGamepads() = default;
    ~CGamepads();
    CGamepads(const CGamepads&) = delete;
    CGamepads& operator=(const CGamepads&) = delete;

    // Starts SDL's game controllers once the system has a joystick: now, if it has one, or
    // when one appears, which a watch on the input devices' folders tells. SDL's subsystem
    // loads udev and goes through every input device, which a player without a pad never
    // needs. Without them (no way to find devices, say) the program simply has no pads, and
    // says nothing. Call it once a frame is on the screen, then after each wait, to take in
    // what the watch saw.
    void StartWhenPlugged();
    // Whether a folder's entry names a joystick, as the kernel's and udev's names do.
    static bool IsJoystickName(const char* pszName);
    // Opens the pad that SDL found at nDeviceIndex, or closes the one that went.
    void Add(int nDeviceIndex);
    void Remove(SDL_JoystickID id);
    // Descriptors of the pads' devices, for a wait to wake when a pad has input; SDL reads
    // the input itself, through descriptors of its own. A pad that has no device file (a
    // virtual one), or cannot be opened twice, has none, and its input waits for the next
    // time the program looks.
    const std::vector<int>& WakeDescriptors() const { return m_fds; }
    // The watch's descriptor, for a wait to wake when a device appears; -1 without one.
    int WatchDescriptor() const { return m_nWatch; }

    // The virtual key of a pad's button, as Windows names a gamepad's: the south face button
    // (A, or Cross), the east one (B, or Circle), and Start (or Menu). 0 for the others,
    // which the program does not act on.
    static UINT VirtualKey(Uint8 nButton);

private:
    struct Pad {
        SDL_JoystickID id;
        SDL_GameController* pController;
        int fd;  // -1 when none
    };
    void UpdateDescriptors();
    bool HasJoystick() const;
    void StartSubsystem();

    std::vector<Pad> m_pads;
    std::vector<int> m_fds;
    enum class State { kNotYet, kWatching, kStarted } m_state = State::kNotYet;
    int m_nWatch = -1;
};
