// The sound driver on WinMM's wave output: 48 kHz, 16-bit stereo, in a ring of short buffers
// that a thread of the driver's own refills from the mixer as the device plays them out, so
// that a sound starts within a frame or two of being asked for. The win32 layer's own.
#pragma once

#include "platform/base/sound.h"

CSoundDriver& AfxWinmmAudio();
