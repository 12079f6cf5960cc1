// A key as X names it, from SDL's key events, for a screen reader that reads every key:
// Orca and the AT-SPI registry match their commands to X's keycodes and keysyms, as
// toolkits hand them over.
#include "platform/sdl/key_strokes.h"

#include <string>

namespace {

// X's keycodes are the kernel's key codes (evdev) plus 8, on X11 and on Wayland alike.
constexpr UINT kEvdevToXKeycode = 8;

// The kernel's key code of each of SDL's scancodes that a keyboard has.
struct EvdevKey {
    SDL_Scancode scancode;
    UINT nEvdev;
};
// clang-format off
constexpr EvdevKey kEvdevKeys[] = {
    {SDL_SCANCODE_ESCAPE, 1},
    {SDL_SCANCODE_1, 2},
    {SDL_SCANCODE_2, 3},
    {SDL_SCANCODE_3, 4},
    {SDL_SCANCODE_4, 5},
    {SDL_SCANCODE_5, 6},
    {SDL_SCANCODE_6, 7},
    {SDL_SCANCODE_7, 8},
    {SDL_SCANCODE_8, 9},
    {SDL_SCANCODE_9, 10},
    {SDL_SCANCODE_0, 11},
    {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13},
    {SDL_SCANCODE_BACKSPACE, 14},
    {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16},
    {SDL_SCANCODE_W, 17},
    {SDL_SCANCODE_E, 18},
    {SDL_SCANCODE_R, 19},
    {SDL_SCANCODE_T, 20},
    {SDL_SCANCODE_Y, 21},
    {SDL_SCANCODE_U, 22},
    {SDL_SCANCODE_I, 23},
    {SDL_SCANCODE_O, 24},
    {SDL_SCANCODE_P, 25},
    {SDL_SCANCODE_LEFTBRACKET, 26},
    {SDL_SCANCODE_RIGHTBRACKET, 27},
    {SDL_SCANCODE_RETURN, 28},
    {SDL_SCANCODE_LCTRL, 29},
    {SDL_SCANCODE_A, 30},
    {SDL_SCANCODE_S, 31},
    {SDL_SCANCODE_D, 32},
    {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34},
    {SDL_SCANCODE_H, 35},
    {SDL_SCANCODE_J, 36},
    {SDL_SCANCODE_K, 37},
    {SDL_SCANCODE_L, 38},
    {SDL_SCANCODE_SEMICOLON, 39},
    {SDL_SCANCODE_APOSTROPHE, 40},
    {SDL_SCANCODE_GRAVE, 41},
    {SDL_SCANCODE_LSHIFT, 42},
    {SDL_SCANCODE_BACKSLASH, 43},
    {SDL_SCANCODE_Z, 44},
    {SDL_SCANCODE_X, 45},
    {SDL_SCANCODE_C, 46},
    {SDL_SCANCODE_V, 47},
    {SDL_SCANCODE_B, 48},
    {SDL_SCANCODE_N, 49},
    {SDL_SCANCODE_M, 50},
    {SDL_SCANCODE_COMMA, 51},
    {SDL_SCANCODE_PERIOD, 52},
    {SDL_SCANCODE_SLASH, 53},
    {SDL_SCANCODE_RSHIFT, 54},
    {SDL_SCANCODE_KP_MULTIPLY, 55},
    {SDL_SCANCODE_LALT, 56},
    {SDL_SCANCODE_SPACE, 57},
    {SDL_SCANCODE_CAPSLOCK, 58},
    {SDL_SCANCODE_F1, 59},
    {SDL_SCANCODE_F2, 60},
    {SDL_SCANCODE_F3, 61},
    {SDL_SCANCODE_F4, 62},
    {SDL_SCANCODE_F5, 63},
    {SDL_SCANCODE_F6, 64},
    {SDL_SCANCODE_F7, 65},
    {SDL_SCANCODE_F8, 66},
    {SDL_SCANCODE_F9, 67},
    {SDL_SCANCODE_F10, 68},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69},
    {SDL_SCANCODE_SCROLLLOCK, 70},
    {SDL_SCANCODE_KP_7, 71},
    {SDL_SCANCODE_KP_8, 72},
    {SDL_SCANCODE_KP_9, 73},
    {SDL_SCANCODE_KP_MINUS, 74},
    {SDL_SCANCODE_KP_4, 75},
    {SDL_SCANCODE_KP_5, 76},
    {SDL_SCANCODE_KP_6, 77},
    {SDL_SCANCODE_KP_PLUS, 78},
    {SDL_SCANCODE_KP_1, 79},
    {SDL_SCANCODE_KP_2, 80},
    {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82},
    {SDL_SCANCODE_KP_PERIOD, 83},
    {SDL_SCANCODE_LANG5, 85},
    {SDL_SCANCODE_NONUSBACKSLASH, 86},
    {SDL_SCANCODE_F11, 87},
    {SDL_SCANCODE_F12, 88},
    {SDL_SCANCODE_INTERNATIONAL1, 89},
    {SDL_SCANCODE_LANG3, 90},
    {SDL_SCANCODE_LANG4, 91},
    {SDL_SCANCODE_INTERNATIONAL4, 92},
    {SDL_SCANCODE_INTERNATIONAL2, 93},
    {SDL_SCANCODE_INTERNATIONAL5, 94},
    {SDL_SCANCODE_INTERNATIONAL5, 95},
    {SDL_SCANCODE_KP_ENTER, 96},
    {SDL_SCANCODE_RCTRL, 97},
    {SDL_SCANCODE_KP_DIVIDE, 98},
    {SDL_SCANCODE_SYSREQ, 99},
    {SDL_SCANCODE_RALT, 100},
    {SDL_SCANCODE_HOME, 102},
    {SDL_SCANCODE_UP, 103},
    {SDL_SCANCODE_PAGEUP, 104},
    {SDL_SCANCODE_LEFT, 105},
    {SDL_SCANCODE_RIGHT, 106},
    {SDL_SCANCODE_END, 107},
    {SDL_SCANCODE_DOWN, 108},
    {SDL_SCANCODE_PAGEDOWN, 109},
    {SDL_SCANCODE_INSERT, 110},
    {SDL_SCANCODE_DELETE, 111},
    {SDL_SCANCODE_MUTE, 113},
    {SDL_SCANCODE_VOLUMEDOWN, 114},
    {SDL_SCANCODE_VOLUMEUP, 115},
    {SDL_SCANCODE_POWER, 116},
    {SDL_SCANCODE_KP_EQUALS, 117},
    {SDL_SCANCODE_KP_PLUSMINUS, 118},
    {SDL_SCANCODE_PAUSE, 119},
    {SDL_SCANCODE_KP_COMMA, 121},
    {SDL_SCANCODE_LANG1, 122},
    {SDL_SCANCODE_LANG2, 123},
    {SDL_SCANCODE_INTERNATIONAL3, 124},
    {SDL_SCANCODE_LGUI, 125},
    {SDL_SCANCODE_RGUI, 126},
    {SDL_SCANCODE_APPLICATION, 127},
};
// clang-format on

// The keysyms of the keys that type nothing, and their names, which stand for the text.
struct NamedKey {
    SDL_Keycode key;
    UINT nKeySym;
    const char* pszName;
};
constexpr NamedKey kNamedKeys[] = {
    {SDLK_RETURN, 0xff0d, "Return"},
    {SDLK_ESCAPE, 0xff1b, "Escape"},
    {SDLK_BACKSPACE, 0xff08, "BackSpace"},
    {SDLK_TAB, 0xff09, "Tab"},
    {SDLK_SPACE, 0x0020, "space"},
    {SDLK_DELETE, 0xffff, "Delete"},
    {SDLK_CAPSLOCK, 0xffe5, "Caps_Lock"},
    {SDLK_F1, 0xffbe, "F1"},
    {SDLK_F2, 0xffbf, "F2"},
    {SDLK_F3, 0xffc0, "F3"},
    {SDLK_F4, 0xffc1, "F4"},
    {SDLK_F5, 0xffc2, "F5"},
    {SDLK_F6, 0xffc3, "F6"},
    {SDLK_F7, 0xffc4, "F7"},
    {SDLK_F8, 0xffc5, "F8"},
    {SDLK_F9, 0xffc6, "F9"},
    {SDLK_F10, 0xffc7, "F10"},
    {SDLK_F11, 0xffc8, "F11"},
    {SDLK_F12, 0xffc9, "F12"},
    {SDLK_PRINTSCREEN, 0xff61, "Print"},
    {SDLK_SCROLLLOCK, 0xff14, "Scroll_Lock"},
    {SDLK_PAUSE, 0xff13, "Pause"},
    {SDLK_INSERT, 0xff63, "Insert"},
    {SDLK_HOME, 0xff50, "Home"},
    {SDLK_PAGEUP, 0xff55, "Prior"},
    {SDLK_END, 0xff57, "End"},
    {SDLK_PAGEDOWN, 0xff56, "Next"},
    {SDLK_RIGHT, 0xff53, "Right"},
    {SDLK_LEFT, 0xff51, "Left"},
    {SDLK_DOWN, 0xff54, "Down"},
    {SDLK_UP, 0xff52, "Up"},
    {SDLK_NUMLOCKCLEAR, 0xff7f, "Num_Lock"},
    {SDLK_KP_DIVIDE, 0xffaf, "KP_Divide"},
    {SDLK_KP_MULTIPLY, 0xffaa, "KP_Multiply"},
    {SDLK_KP_MINUS, 0xffad, "KP_Subtract"},
    {SDLK_KP_PLUS, 0xffab, "KP_Add"},
    {SDLK_KP_ENTER, 0xff8d, "KP_Enter"},
    {SDLK_LSHIFT, 0xffe1, "Shift_L"},
    {SDLK_RSHIFT, 0xffe2, "Shift_R"},
    {SDLK_LCTRL, 0xffe3, "Control_L"},
    {SDLK_RCTRL, 0xffe4, "Control_R"},
    {SDLK_LALT, 0xffe9, "Alt_L"},
    {SDLK_RALT, 0xffea, "Alt_R"},
    {SDLK_LGUI, 0xffeb, "Super_L"},
    {SDLK_RGUI, 0xffec, "Super_R"},
    {SDLK_APPLICATION, 0xff67, "Menu"},
};

// The keypad's digits and point, which name other keys while Num Lock is off.
struct KeypadKey {
    SDL_Keycode key;
    NamedKey numLock;
    NamedKey moving;
};
constexpr KeypadKey kKeypadKeys[] = {
    {SDLK_KP_0, {SDLK_KP_0, 0xffb0, "KP_0"}, {SDLK_KP_0, 0xff9e, "KP_Insert"}},
    {SDLK_KP_1, {SDLK_KP_1, 0xffb1, "KP_1"}, {SDLK_KP_1, 0xff9c, "KP_End"}},
    {SDLK_KP_2, {SDLK_KP_2, 0xffb2, "KP_2"}, {SDLK_KP_2, 0xff99, "KP_Down"}},
    {SDLK_KP_3, {SDLK_KP_3, 0xffb3, "KP_3"}, {SDLK_KP_3, 0xff9b, "KP_Next"}},
    {SDLK_KP_4, {SDLK_KP_4, 0xffb4, "KP_4"}, {SDLK_KP_4, 0xff96, "KP_Left"}},
    {SDLK_KP_5, {SDLK_KP_5, 0xffb5, "KP_5"}, {SDLK_KP_5, 0xff9d, "KP_Begin"}},
    {SDLK_KP_6, {SDLK_KP_6, 0xffb6, "KP_6"}, {SDLK_KP_6, 0xff98, "KP_Right"}},
    {SDLK_KP_7, {SDLK_KP_7, 0xffb7, "KP_7"}, {SDLK_KP_7, 0xff95, "KP_Home"}},
    {SDLK_KP_8, {SDLK_KP_8, 0xffb8, "KP_8"}, {SDLK_KP_8, 0xff97, "KP_Up"}},
    {SDLK_KP_9, {SDLK_KP_9, 0xffb9, "KP_9"}, {SDLK_KP_9, 0xff9a, "KP_Prior"}},
    {SDLK_KP_PERIOD, {SDLK_KP_PERIOD, 0xffae, "KP_Decimal"}, {SDLK_KP_PERIOD, 0xff9f, "KP_Delete"}},
};

// X's modifier bits for SDL's.
struct ModifierBit {
    Uint16 nSdl;
    UINT nX;
};
constexpr ModifierBit kModifierBits[] = {
    {KMOD_SHIFT, 1 << 0}, {KMOD_CAPS, 1 << 1}, {KMOD_CTRL, 1 << 2},
    {KMOD_ALT, 1 << 3},   {KMOD_NUM, 1 << 4},  {KMOD_GUI, 1 << 6},
};

// Keysyms of Latin-1 are its code points; of the rest of Unicode, these plus the code point.
constexpr UINT kLatin1End = 0x100;
constexpr UINT kUnicodeKeySyms = 0x01000000;
constexpr UINT kPrintableFirst = 0x21;

const NamedKey* NamedKeyOf(SDL_Keycode key, Uint16 nMod) {
    for (const KeypadKey& keypad : kKeypadKeys) {
        if (keypad.key == key) {
            return (nMod & KMOD_NUM) != 0 ? &keypad.numLock : &keypad.moving;
        }
    }
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key) {
            return &named;
        }
    }
    return nullptr;
}

UINT XKeycodeOf(SDL_Scancode scancode) {
    for (const EvdevKey& key : kEvdevKeys) {
        if (key.scancode == scancode) {
            return key.nEvdev + kEvdevToXKeycode;
        }
    }
    return 0;
}

// The UTF-8 of a code point.
std::string Utf8(UINT ch) {
    char sz[5] = {};
    if (ch < 0x80) {
        sz[0] = static_cast<char>(ch);
    } else if (ch < 0x800) {
        sz[0] = static_cast<char>(0xC0 | (ch >> 6));
        sz[1] = static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        sz[0] = static_cast<char>(0xE0 | (ch >> 12));
        sz[1] = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        sz[2] = static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        sz[0] = static_cast<char>(0xF0 | (ch >> 18));
        sz[1] = static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        sz[2] = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        sz[3] = static_cast<char>(0x80 | (ch & 0x3F));
    }
    return sz;
}

}  // namespace

KeyStroke AfxKeyStrokeOf(const SDL_Keysym& keysym, Uint32 nTimestamp) {
    KeyStroke stroke;
    stroke.nKeyCode = XKeycodeOf(keysym.scancode);
    stroke.dwTime = nTimestamp;
    for (const ModifierBit& bit : kModifierBits) {
        stroke.nModifiers |= (keysym.mod & bit.nSdl) != 0 ? bit.nX : 0;
    }
    if (const NamedKey* pNamed = NamedKeyOf(keysym.sym, keysym.mod)) {
        stroke.nKeySym = pNamed->nKeySym;
        stroke.strText = pNamed->pszName;
        return stroke;
    }
    if ((keysym.sym & SDLK_SCANCODE_MASK) != 0 || keysym.sym < static_cast<int>(kPrintableFirst)) {
        return stroke;  // a key that X names otherwise: left to its keycode
    }
    auto ch = static_cast<UINT>(keysym.sym);
    // SDL names a letter by its small form; X by what Shift makes of it.
    if ((keysym.mod & KMOD_SHIFT) != 0 && ch >= 'a' && ch <= 'z') {
        ch += 'A' - 'a';
    }
    stroke.nKeySym = ch < kLatin1End ? ch : kUnicodeKeySyms + ch;
    stroke.strText = Utf8(ch);
    return stroke;
}
