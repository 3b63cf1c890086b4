#include "app/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/paths.h"
#include "engine/tide.h"
#include "game/campaign.h"

#ifndef THALOMIR_VERSION
#define THALOMIR_VERSION "unknown"
#endif

namespace {

const char* const kUsage =
    "usage: thalomir [--help] [--version] [--windowed | --fullscreen] [--data DIR] [--portable] "
    "[--level FILE]\n";

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
    "  --level FILE   play the level file FILE at once; no progress is saved\n"
    "\n"
    "Settings: $XDG_CONFIG_HOME/thalomir/config.txt (~/.config/thalomir/config.txt)\n"
    "Progress: $XDG_DATA_HOME/thalomir/ (~/.local/share/thalomir/)\n"
    "Log:      $XDG_STATE_HOME/thalomir/log.txt (~/.local/state/thalomir/log.txt)\n";

// The file every data folder holds: the resource script names all the rest.
const char* const kDataMark = "Res\\allres.txt";

// One option: its name, whether a value follows it ("--data DIR" or
// "--data=DIR"), and what it sets.
struct Option {
    const char* name;
    bool takesValue;
    void (*apply)(cCommandLine& c, const std::string& value);
};

const Option kOptions[] = {
    {"--help", false, [](cCommandLine& c, const std::string&) {
         if (c.action == cCommandLine::Action::Run) c.action = cCommandLine::Action::Help;
     }},
    {"-h", false, [](cCommandLine& c, const std::string&) {
         if (c.action == cCommandLine::Action::Run) c.action = cCommandLine::Action::Help;
     }},
    {"--version", false, [](cCommandLine& c, const std::string&) {
         if (c.action == cCommandLine::Action::Run) c.action = cCommandLine::Action::Version;
     }},
    {"--windowed", false, [](cCommandLine& c, const std::string&) { c.windowed = 1; }},
    {"--fullscreen", false, [](cCommandLine& c, const std::string&) { c.windowed = 0; }},
    {"--portable", false, [](cCommandLine& c, const std::string&) { c.portable = true; }},
    {"--data", true, [](cCommandLine& c, const std::string& v) { c.data = v; }},
    // The level file as the game loads it: a user's path, whatever the working folder.
    {"--level", true, [](cCommandLine& c, const std::string& v) { c.level = tideAbsolutePath(v); }},
};

// Writes `text` to `out`; false when it did not all get there (a full disk,
// a closed pipe).
bool Put(std::FILE* out, const std::string& text) {
    return std::fputs(text.c_str(), out) >= 0 && std::fflush(out) == 0 && !std::ferror(out);
}

}  // namespace

std::string cCommandLine::DataFault(const std::string& dir) {
    if (!tideIsFolder(dir)) return "no data folder " + dir;
    if (tideResolvePath(dir, kDataMark, false).empty())
        return "no game data in " + dir + " (res/allres.txt is missing)";
    return "";
}

void cCommandLine::ParseProgramArgs(int argc, const char* const* argv) {
    std::vector<std::string> args = tideProgramArgs(argc, argv);
    std::vector<const char*> given;
    for (const std::string& a : args) given.push_back(a.c_str());
    Parse(static_cast<int>(given.size()), given.data());
}

void cCommandLine::Parse(int argc, const char* const* argv) {
    auto fail = [this](const std::string& why) {
        action = Action::Error;
        error = why;
    };
    for (int i = 1; i < argc && action != Action::Error; ++i) {
        std::string a = argv[i] ? argv[i] : "";
        std::string name = a.substr(0, a.find('='));
        const Option* opt = nullptr;
        for (const Option& o : kOptions)
            if (name == o.name && (o.takesValue || name == a)) opt = &o;
        if (!opt) {
            fail("unknown option '" + a + "'");
            break;
        }
        std::string value;
        if (opt->takesValue) {
            if (name != a) {
                value = a.substr(name.size() + 1);
            } else if (i + 1 < argc && argv[i + 1]) {
                value = argv[++i];
            }
            if (value.empty()) {
                fail(name + " needs a value");
                break;
            }
        }
        opt->apply(*this, value);
    }
    // Checked last, so --help with a mistyped folder still helps.
    if (action == Action::Run && !data.empty())
        if (std::string fault = DataFault(data); !fault.empty()) fail(fault);
    if (action == Action::Run && !level.empty())
        if (std::string fault = LevelFileFault(level); !fault.empty()) {
            fail(fault);
            usage = false;  // the command line was fine; the file is not
        }
}

int cCommandLine::Finish() const {
    bool written = true;
    switch (action) {
    case Action::Help:
        written = Put(stdout, std::string(kUsage) + "\n" + kHelp);
        break;
    case Action::Version:
        written = Put(stdout, std::string("thalomir ") + THALOMIR_VERSION + "\n");
        break;
    case Action::Error:
        std::fprintf(stderr, "thalomir: %s\n%s", error.c_str(), usage ? kUsage : "");
        return 2;
    case Action::Run:
        break;
    }
    if (!written) {
        std::fprintf(stderr, "thalomir: cannot write to the standard output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

void cCommandLine::Apply(Tide* tide) const {
    if (windowed >= 0) tide->System_SetState(TIDE_WINDOWED, windowed == 1);
    if (!data.empty()) tide->System_SetState(TIDE_DATAPATH, data.c_str());
    if (portable) tide->System_SetState(TIDE_PORTABLE, true);
}
