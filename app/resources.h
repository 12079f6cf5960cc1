// The application's resources: dialog templates and the string table.
#pragma once

#include "platform/dialog_template.h"

extern const DLGTEMPLATE g_dlgGame;
