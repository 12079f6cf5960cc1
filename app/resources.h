// The application's resources: dialog templates, icons and strings.
#pragma once

#include "platform/base/dialog_resource.h"

extern const DLGTEMPLATE g_dlgGame;
extern const DLGTEMPLATE g_dlgAbout;
extern const DLGTEMPLATE g_dlgAboutEnglish;

// Hands every resource to the platform; done once, before any is used.
void RegisterResources();
