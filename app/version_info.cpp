#include "app/version_info.h"

#include <iterator>

#include "app/version.h"

namespace {

constexpr DWORD VS_FFI_FILEFLAGSMASK = 0x3F;
constexpr DWORD VOS__WINDOWS32 = 0x4;
constexpr DWORD VFT_APP = 0x1;
constexpr WORD kLanguageJapanese = 0x0411;
constexpr WORD kCodePageUnicode = 1200;

#define HOPLIN_STR2(x) #x
#define HOPLIN_STR(x) HOPLIN_STR2(x)
#define HOPLIN_VERSION_TEXT                                                                      \
    HOPLIN_STR(HOPLIN_VERSION_MAJOR)                                                             \
    ", " HOPLIN_STR(HOPLIN_VERSION_MINOR) ", " HOPLIN_STR(HOPLIN_VERSION_PATCH) ", " HOPLIN_STR( \
        HOPLIN_VERSION_TWEAK)

const VERSIONSTRING kStrings[] = {
    {"Comments", ""},
    {"CompanyName", ""},
    {"FileDescription", "Hoplin MFC ｱﾌﾟﾘｹｰｼｮﾝ"},
    {"FileVersion", HOPLIN_VERSION_TEXT},
    {"InternalName", "Hoplin"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "Hoplin.EXE"},
    {"PrivateBuild", ""},
    {"ProductName", "Hoplin ｱﾌﾟﾘｹｰｼｮﾝ"},
    {"ProductVersion", HOPLIN_VERSION_TEXT},
    {"SpecialBuild", ""},
};

}  // namespace

const VERSIONINFO g_versionInfo = {
    {HOPLIN_VERSION_MAJOR, HOPLIN_VERSION_MINOR, HOPLIN_VERSION_PATCH, HOPLIN_VERSION_TWEAK},
    {HOPLIN_VERSION_MAJOR, HOPLIN_VERSION_MINOR, HOPLIN_VERSION_PATCH, HOPLIN_VERSION_TWEAK},
    VS_FFI_FILEFLAGSMASK,
    0,
    VOS__WINDOWS32,
    VFT_APP,
    0,
    "041104b0",
    kStrings,
    static_cast<int>(std::size(kStrings)),
    kLanguageJapanese,
    kCodePageUnicode,
};
