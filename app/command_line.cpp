#include "app/command_line.h"

#include <cstring>

#include "app/game_controls.h"
#include "app/version.h"
#include "platform/base/diagnostics.h"
#include "platform/base/translate.h"

namespace {

// What a program exits with when its command line is wrong, as getopt's users do.
constexpr int kUsageStatus = 2;

struct Option {
    const char* pszLong;
    const char* pszShort;
};
constexpr Option kHelp{"--help", "-h"};
constexpr Option kVersion{"--version", "-v"};

bool Is(const char* pszArgument, const Option& option) {
    return std::strcmp(pszArgument, option.pszLong) == 0 ||
           std::strcmp(pszArgument, option.pszShort) == 0;
}

void PrintUsageLine(std::FILE* out) {
    std::fprintf(out, AfxTranslate("Usage: %s [--help | --version]\n"), AfxGetProgramName());
}

void PrintUsage(std::FILE* out) {
    PrintUsageLine(out);
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

std::optional<int> HandleCommandLine(int argc, const char* const* argv, std::FILE* out,
                                     std::FILE* err) {
    if (argc < 2) {
        return std::nullopt;
    }
    AfxInitTranslations();
    for (int i = 1; i < argc; ++i) {
        if (!Is(argv[i], kHelp) && !Is(argv[i], kVersion)) {
            std::fprintf(err, "%s: ", AfxGetProgramName());
            std::fprintf(err, AfxTranslate("unknown option '%s'\n"), argv[i]);
            PrintUsageLine(err);
            return kUsageStatus;
        }
    }
    if (Is(argv[1], kHelp)) {
        PrintUsage(out);
    } else {
        std::fprintf(out, "%s %d.%d.%d.%d\n", AfxGetProgramName(), HOPLIN_VERSION_MAJOR,
                     HOPLIN_VERSION_MINOR, HOPLIN_VERSION_PATCH, HOPLIN_VERSION_TWEAK);
    }
    return 0;
}
