#include "app/command_line.h"

#include <cstring>

#include "app/game_controls.h"
#include "app/version.h"
#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"

namespace {

void PrintUsage(std::FILE* out) {
    std::fprintf(out, AfxTranslate("Usage: %s [--help | --version]\n"), AfxGetProgramName());
    std::fputs(AfxTranslate("\n"
                            "A red square runs across a black board: make it jump over the five\n"
                            "obstacles on its way to the goal.\n"
                            "\n"),
               out);
    PrintGameControls(out);
    std::fputs(AfxTranslate("\n"
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
            std::fprintf(out, "%s %d.%d.%d.%d\n", AfxGetProgramName(), HOPLIN_VERSION_MAJOR,
                         HOPLIN_VERSION_MINOR, HOPLIN_VERSION_PATCH, HOPLIN_VERSION_TWEAK);
            return 0;
        }
    }
    return std::nullopt;
}
