// Where files are: Windows-style data names resolved case-insensitively under
// the data folder, finding the data folder, the user's own folders. Reading
// and writing them is the file layer's (engine/files.h).
#pragma once

#include <string>
#include <vector>

#include "engine/files.h"

// True for a host path taken exactly as given: the user's files, named from
// their folders. Data names ("Res\\config.txt") are relative to the data folder.
bool tideIsAbsolute(const std::string& path);

// Resolves `name` ("Res\\allres.txt", "res/lvl1.txt", or an absolute path)
// under `base`: back slashes are separators and each component that does not
// exist as written is matched case-insensitively. Returns the host path of
// the existing file, or "" when there is none. With `forWrite` a missing last
// part is kept as written (the folders before it must exist), so the result
// names the file to create.
std::string tideResolvePath(const std::string& base, const char* name, bool forWrite);

// The data folder: the first of <exe dir>/data, <exe dir>/../share/thalomir,
// the installed share folder, <cwd>/data and <cwd> that holds a "res" folder
// (any case); <cwd> when none does.
std::string tideFindDataPath(const char* installDir);
// The places above, in the order they are tried, and the choice among them.
std::vector<std::string> tideDataPathCandidates(const char* installDir);
std::string tidePickDataPath(const std::vector<std::string>& candidates);

// The user's own files: settings, saved progress and the log. Every decision
// about where they live is made here, so a platform with other storage (the
// browser build) changes only these functions.
enum class tideUserKind { Config, Data, State };

// The folder for one kind of the user's files. Normally the XDG folders:
// $XDG_CONFIG_HOME/thalomir (default ~/.config/thalomir), $XDG_DATA_HOME/thalomir
// (~/.local/share/thalomir) and $XDG_STATE_HOME/thalomir (~/.local/state/thalomir);
// relative values of the variables are ignored, as the XDG rules ask. Portable
// (see tidePortableMarker), everything stays with the data folder: settings
// and progress in its "res" folder beside the shipped configuration, the log
// at its top. "" when there is no such folder (no HOME and no variable).
std::string tideUserDir(tideUserKind kind, bool portable, const std::string& dataPath);

// True when a file named "portable" lies beside the executable.
bool tidePortableMarker();

// Creates `dir` and its missing parents, each new one readable by the user
// only; true when the folder exists afterwards.
bool tideMakeUserDir(const std::string& dir);
