#include "platform/sdl/display_wait.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "platform/sdl/wayland_display.h"
#include "platform/sdl/x11_window.h"

namespace {

// What one read of an input device takes at most: a few dozen of its events.
constexpr size_t kDeviceReadBytes = 1024;

// Reads away what an input device has to tell this descriptor: SDL reads the same input
// through a descriptor of its own.
void DrainDevice(int fd) {
    char buffer[kDeviceReadBytes];
    while (read(fd, buffer, sizeof(buffer)) > 0) {
    }
}

pollfd Watching(int fd) {
    return pollfd{fd, POLLIN, 0};
}

}  // namespace

CDisplayWait::~CDisplayWait() {
    if (m_nWakeFd >= 0) {
        close(m_nWakeFd);
    }
}

bool CDisplayWait::Open() {
    const char* pszDriver = SDL_GetCurrentVideoDriver();
    m_bWayland = pszDriver != nullptr && std::strcmp(pszDriver, "wayland") == 0;
    if (pszDriver == nullptr || (!m_bWayland && std::strcmp(pszDriver, "x11") != 0)) {
        return false;
    }
    m_nWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return m_nWakeFd >= 0;
}

void CDisplayWait::Wake() {
    const std::uint64_t nOne = 1;
    // A full counter already wakes the UI thread, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t nWritten = write(m_nWakeFd, &nOne, sizeof(nOne));
}

bool CDisplayWait::Wait(SDL_Window* pWindow, int nTimeoutMs, const std::vector<int>& devices,
                        CWaitList* pOthers) {
    if (pWindow == nullptr) {
        return true;
    }
    // With events at hand, the others are only looked at (poll skips a negative descriptor).
    const int fdDisplay = m_bWayland ? AfxBeginWaylandWait(pWindow) : AfxBeginX11Wait(pWindow);
    if (fdDisplay < 0) {
        nTimeoutMs = 0;
    }
    std::vector<pollfd> fds{Watching(fdDisplay), Watching(m_nWakeFd)};
    for (const int fd : devices) {
        fds.push_back(Watching(fd));
    }
    const size_t nFirstOther = fds.size();
    for (const WaitHandle& other : *pOthers) {
        fds.push_back(
            pollfd{static_cast<int>(other.nHandle), static_cast<short>(other.nEvents), 0});
    }
    const int nReady = poll(fds.data(), fds.size(), nTimeoutMs);
    if (m_bWayland && fdDisplay >= 0) {
        AfxEndWaylandWait(pWindow);
    }
    for (size_t i = 0; i < pOthers->size(); ++i) {
        (*pOthers)[i].nReady = static_cast<unsigned short>(fds[nFirstOther + i].revents);
    }
    if ((fds[1].revents & POLLIN) != 0) {
        std::uint64_t nCount = 0;
        [[maybe_unused]] const ssize_t nRead = read(m_nWakeFd, &nCount, sizeof(nCount));
    }
    bool bDeviceInput = false;
    for (size_t i = 2; i < nFirstOther; ++i) {
        if (fds[i].revents != 0) {
            DrainDevice(fds[i].fd);
            bDeviceInput = true;
        }
    }
    return fdDisplay < 0 || nReady <= 0 || fds[0].revents != 0 || bDeviceInput;
}
