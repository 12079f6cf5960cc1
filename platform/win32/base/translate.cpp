// The platform's own words on Windows, which has no gettext: the same catalogues as on Linux,
// read by the program itself from locale\<language>\LC_MESSAGES beside it, in the language of
// Windows' user interface.
#include "platform/base/translate.h"

#include <string>

#include "platform/base/mo_catalog.h"
#include "platform/base/ui_language.h"
#include "platform/win32/base/system_text.h"

namespace {

constexpr const char* kCatalogueFile = "/LC_MESSAGES/" HOPLIN_TEXT_DOMAIN ".mo";

CMoCatalog g_catalogue;

}  // namespace

void AfxInitTranslations() {
    AfxSetTranslationsDir((AfxGetProgramFolder() + HOPLIN_LOCALE_DIR_FROM_BIN).c_str());
}

const char* AfxTranslate(const char* pszText) {
    const char* pszTranslation = g_catalogue.Find(pszText);
    return pszTranslation != nullptr ? pszTranslation : pszText;
}

void AfxSetTranslationsDir(const char* pszDir) {
    g_catalogue.Load(std::string(pszDir) + "/" + AfxGetSystemUiLanguageCode() + kCatalogueFile);
}

LANGID GetUserDefaultUILanguage() {
    return AfxGetSystemUiLanguage();
}
