#include "platform/sdl/lost_display.h"

#include <unistd.h>

#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"

void AfxEndForLostDisplay() {
    AfxWarn(AfxTranslate("lost the connection to the display"));
    _exit(1);
}
