#include "app/command_line.h"

#include <cstring>

#include "app/version.h"
#include "platform/base/translate.h"

namespace {

constexpr const char* kProgramName = "hoplin";

void PrintUsage(std::FILE* out) {
    std::fprintf(out, AfxTranslate("Usage: %s [--help | --version]\n"), kProgramName);
    std::fputs(AfxTranslate("\n"
                            "A red square runs across a black board: make it jump over the five\n"
                            "obstacles on its way to the goal.\n"
                            "\n"
                            "  Start, Space or Up     start a run\n"
                            "  double-click, Space    jump\n"
                            "  Stop                   give up the run\n"
                            "  M                      sound on or off\n"
                            "  Tab, Left, Right       move the focus among the drawn buttons\n"
                            "  Enter                  press the button with the focus\n"
                            "  Shift+F10, Menu key    the window's menu\n"
                            "  right-click, Alt+Space the window's menu: sound, audio cues and\n"
                            "                         the About box\n"
                            "  Exit, Alt+F4           quit\n"
                            "\n"
                            "With audio cues on, a run ticks at every step and two high notes\n"
                            "say \"jump now\", so that it can be played by ear.\n"
                            "\n"
                            "The choices are kept in $XDG_CONFIG_HOME/hoplin/settings\n"
                            "(by default ~/.config/hoplin/settings).\n"),
               out);
}

}  // namespace

std::optional<int> HandleCommandLine(int argc, const char* const* argv, std::FILE* out) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            AfxInitTranslations();
            PrintUsage(out);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fprintf(out, "%s %d.%d.%d.%d\n", kProgramName, HOPLIN_VERSION_MAJOR,
                         HOPLIN_VERSION_MINOR, HOPLIN_VERSION_PATCH, HOPLIN_VERSION_TWEAK);
            return 0;
        }
    }
    return std::nullopt;
}
