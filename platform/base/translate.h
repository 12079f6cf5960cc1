// The platform's own words (its menu entries, its error lines) in the user's language, from
// gettext catalogues. The program's own strings come from its resources and are never
// translated here.
#pragma once

// Takes the message language from the locale, and the catalogues from where an installation
// puts them relative to the program (../share/locale beside /usr/games). AfxInitPlatform
// calls it before it says anything.
void AfxInitTranslations();
// pszText in the user's language, or pszText itself when there is no translation.
const char* AfxTranslate(const char* pszText);
// Takes the catalogues from pszDir instead, for programs that are not installed.
void AfxSetTranslationsDir(const char* pszDir);
