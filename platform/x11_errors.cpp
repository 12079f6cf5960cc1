#include "platform/x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace {

XErrorHandler g_pfnNextHandler = nullptr;

int OnXError(Display* pDisplay, XErrorEvent* pError) {
    if (pError->error_code == BadWindow && pError->request_code == X_SendEvent) {
        return 0;
    }
    return g_pfnNextHandler != nullptr ? g_pfnNextHandler(pDisplay, pError) : 0;
}

}  // namespace

void AfxIgnoreLateWakeErrors() {
    const XErrorHandler pfnPrevious = XSetErrorHandler(OnXError);
    if (pfnPrevious != OnXError) {
        g_pfnNextHandler = pfnPrevious;
    }
}
