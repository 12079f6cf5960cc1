// The platform's own words (its menu entries, its error lines) in the user's language, from
// gettext catalogues. The program's own strings come from its resources and are never
// translated here.
#pragma once

// Takes the message language from the locale and looks for the catalogues beside the
// program: <program folder>/<HOPLIN_LOCALE_DIR_FROM_BIN>, which is where an installation puts
// them. AfxInitPlatform calls it before it says anything.
void AfxInitTranslations();
// pszText in the user's language, or pszText itself when there is no translation.
const char* AfxTranslate(const char* pszText);
// Takes the catalogues from pszDir instead, for programs that do not sit in an installation.
void AfxSetTranslationsDir(const char* pszDir);
