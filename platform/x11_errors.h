// X11 errors that the program can safely outlive. Platform code only.
#pragma once

// SDL wakes a waiting UI thread by sending an event to one of its windows over a second
// connection to the X server, so the server may take that event after the window was
// destroyed over the first one. The BadWindow error this causes is harmless, but Xlib's
// default handler would end the program for it. Installs a handler that ignores exactly
// that error and hands every other one on to the handler that was there before.
void AfxIgnoreLateWakeErrors();
