// The game's command line: help, version, window mode, data folder and
// portable mode. Nothing given here is saved.
#pragma once

#include <string>

class Tide;

class cCommandLine {
public:
    // Reads the arguments after the program name; never exits by itself.
    void Parse(int argc, const char* const* argv);
    // Parse on main()'s arguments as the system gives them (tideProgramArgs:
    // in UTF-8 on Windows too).
    void ParseProgramArgs(int argc, const char* const* argv);

    // True when the program ends after Finish() instead of starting the game
    // (--help, --version or a bad command line).
    bool Exits() const { return action != Action::Run; }
    // Prints help, version or the error with the usage line; returns the
    // exit status: 0, 2 for a bad command line, 1 when the output could not
    // be written.
    int Finish() const;
    // Passes the window mode, data folder and portable mode to the engine;
    // call before System_Initiate.
    void Apply(Tide* tide) const;

    // What is wrong with `dir` as a data folder ("" when nothing): it must
    // hold the game's data, not merely exist.
    static std::string DataFault(const std::string& dir);

    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    int windowed = -1;   // -1: as the game sets it, 0: fullscreen, 1: windowed
    std::string data;    // "" when not given
    bool portable = false;
    std::string level;   // a level file to play at once (an absolute path), "" for none
    std::string error;   // what is wrong, for Action::Error
    bool usage = true;   // the error is the command line's: the usage line follows it
};
