#include "app/command_line.h"

#include <sys/stat.h>

#include <cstdio>

#include "engine/tide.h"

#ifndef THALOMIR_VERSION
#define THALOMIR_VERSION "unknown"
#endif

namespace {

const char* const kUsage =
    "usage: thalomir [--help] [--version] [--windowed | --fullscreen] [--data DIR] [--portable]\n";

const char* const kHelp =
    "Thalomir: a turn-based tactics game under the sea.\n"
    "\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n"
    "  --windowed     play in a window this time\n"
    "  --fullscreen   play fullscreen this time\n"
    "  --data DIR     read the game's data from DIR (the folder holding \"res\")\n"
    "  --portable     keep settings, progress and the log with the data folder\n"
    "                 (also when a file named \"portable\" lies beside the program)\n"
    "\n"
    "Settings: $XDG_CONFIG_HOME/thalomir/config.txt (~/.config/thalomir/config.txt)\n"
    "Progress: $XDG_DATA_HOME/thalomir/ (~/.local/share/thalomir/)\n"
    "Log:      $XDG_STATE_HOME/thalomir/log.txt (~/.local/state/thalomir/log.txt)\n";

bool IsDir(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

void cCommandLine::Parse(int argc, const char* const* argv) {
    auto fail = [this](const std::string& why) {
        action = Action::Error;
        error = why;
    };
    for (int i = 1; i < argc && action != Action::Error; ++i) {
        std::string a = argv[i] ? argv[i] : "";
        if (a == "--help" || a == "-h") {
            if (action == Action::Run) action = Action::Help;
        } else if (a == "--version") {
            if (action == Action::Run) action = Action::Version;
        } else if (a == "--windowed") {
            windowed = 1;
        } else if (a == "--fullscreen") {
            windowed = 0;
        } else if (a == "--portable") {
            portable = true;
        } else if (a == "--data" || a.rfind("--data=", 0) == 0) {
            if (a == "--data") {
                if (i + 1 >= argc) {
                    fail("--data needs a folder");
                    break;
                }
                data = argv[++i];
            } else {
                data = a.substr(7);
            }
            if (data.empty()) fail("--data needs a folder");
        } else {
            fail("unknown option '" + a + "'");
        }
    }
    // Checked last, so --help with a mistyped folder still helps.
    if (action == Action::Run && !data.empty() && !IsDir(data)) fail("no data folder " + data);
}

int cCommandLine::Finish() const {
    switch (action) {
    case Action::Help:
        std::fputs(kUsage, stdout);
        std::fputs("\n", stdout);
        std::fputs(kHelp, stdout);
        return 0;
    case Action::Version:
        std::printf("thalomir %s\n", THALOMIR_VERSION);
        return 0;
    case Action::Error:
        std::fprintf(stderr, "thalomir: %s\n%s", error.c_str(), kUsage);
        return 2;
    case Action::Run:
        break;
    }
    return 0;
}

void cCommandLine::Apply(Tide* tide) const {
    if (windowed >= 0) tide->System_SetState(TIDE_WINDOWED, windowed == 1);
    if (!data.empty()) tide->System_SetState(TIDE_DATAPATH, data.c_str());
    if (portable) tide->System_SetState(TIDE_PORTABLE, true);
}
