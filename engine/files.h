// The engine's file layer: whole files read without surprises and written so
// that nothing is ever lost or torn.
//
// Reading opens regular files only: a FIFO, a device or a folder is refused
// at once (no waiting for a writer, no endless /dev/zero), and so is a file
// larger than the cap of its kind. Writing goes through a temporary file of
// its own beside the target (a unique name, created exclusively, never
// through a link), flushed to the disk and renamed over the target. Files
// that several running games share are changed under a lock, so that each
// game's change is made to the file as the last game left it.
//
// The host calls themselves sit behind engine/file_sys.h.
#pragma once

#include <cerrno>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The most read of one file of each kind; a longer file is refused whole,
// never cut short. Settings, saved progress, a saved battle and the INI data
// files (configuration, levels) hold a few KB each.
constexpr std::size_t kTideTextCap = std::size_t(1) << 20;
// Pictures, sounds, music, resource scripts, fonts.
constexpr std::size_t kTideDataCap = std::size_t(256) << 20;

// How a file operation went.
struct tideFileStatus {
    int err = 0;      // 0 when done, else an errno value (ENOENT: there is no such file)
    std::string why;  // one line for the log, naming the file and the failure; "" when done
    explicit operator bool() const { return err == 0; }
    bool Missing() const { return err == ENOENT; }
};

// Reads the whole file at `path` into `out` (emptied on failure).
tideFileStatus tideReadFile(const std::string& path, std::string& out,
                            std::size_t cap = kTideDataCap);

// Makes `contents` the whole file at `path`: either the old file stays whole
// or the new one is there, whatever happens meanwhile (a crash, a full disk,
// another game saving the same file). A symbolic link at `path` stays, and the
// file it names is replaced. The file keeps its permission bits (a new one
// gets 0600); a read-only file is not written. Succeeds exactly when the new
// file took the old one's place. This alone takes no lock: see tideUpdateFile.
tideFileStatus tideWriteFileAtomic(const std::string& path, const std::string& contents);

// Where streamed contents go, a piece at a time: false once a write failed.
using tideFileSink = std::function<bool(const void* data, std::size_t size)>;
// The same for contents made while they are written, never all in memory:
// `fill` writes them through the sink and returns false when it failed; the
// old file then stays.
tideFileStatus tideWriteFileAtomic(const std::string& path, const std::function<bool(const tideFileSink&)>& fill);

// Runs `work` while holding an exclusive lock on `path`, taken through the
// file "<path>.lock" beside it; waits for a game holding it. `work` does not
// run when the lock cannot be had. Not to be nested for one path.
tideFileStatus tideWithLock(const std::string& path, const std::function<void()>& work);

// A change to a file that running games share (settings, progress, a saved
// battle): under the lock, reads the file as it is now ("" and `exists`
// false when there is none), lets `change` edit that text, and writes the
// result back (tideWriteFileAtomic) when `change` returns true. A file that
// exists but cannot be read (refused, over `cap`) is left alone and its
// failure returned; `change` does not run.
tideFileStatus tideUpdateFile(const std::string& path, std::size_t cap,
                              const std::function<bool(std::string& text, bool exists)>& change);

// Moves a file the program cannot use out of its way, for the user to look
// at: to "<path>.bad", or when that is taken "<path>.bad.1", ".bad.2", ...;
// an earlier copy is never written over. `keptAs` names where it went.
tideFileStatus tideKeepAside(const std::string& path, std::string& keptAs);

// True when anything has the name `path` (links followed).
bool tideExists(const std::string& path);
// Removes the file `path` (refused as saves are; a missing file is ENOENT).
tideFileStatus tideRemoveFile(const std::string& path);
// The names in `folder`, without "." and "..".
std::vector<std::string> tideListFolder(const std::string& folder);
// True when `path` names a folder (links followed).
bool tideIsFolder(const std::string& path);
// `path` taken against the working folder when it is relative.
std::string tideAbsolutePath(const std::string& path);
// These and the calls above take UTF-8 names on every system: on Windows,
// std::filesystem would read a name in the system's code page instead.

// The program's arguments, its own name first, in UTF-8 like every name
// here: on Windows main() is handed them in the system's code page, which
// may not hold a name at all, so they are read again from the system.
std::vector<std::string> tideProgramArgs(int argc, const char* const* argv);

// From now on refuses every save, lock and move aside under `folder`, with
// `why` for the reason: a second browser tab of the game must not write over
// the files of the first one. An empty `why` lifts the refusal.
void tideRefuseWritesUnder(const std::string& folder, const std::string& why);

// Test hook: called at each step of a save, with the path given to the save.
// It may pause the save there (another save, a kill) to test what others see.
enum class tideSaveStep {
    Locked,        // tideUpdateFile holds the lock and has not read the file yet
    TempCreated,   // the temporary file exists, empty
    BeforeRename,  // the temporary file is written and flushed
    Renamed,       // the new file is in place
};
extern std::function<void(tideSaveStep step, const std::string& path)> tideSaveHook;
