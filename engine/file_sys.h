// The host file calls under the engine's file layer (engine/files.cpp). Kept
// narrow so that each platform implements all of it in one file of its own:
// file_sys_posix.cpp on Linux and in the browser, a Windows file beside it.
//
// Every call returns 0 or an errno value (ENOENT, EEXIST, EACCES, ...) and
// never throws. None blocks on a FIFO or a device, and none that creates a
// file follows a symbolic link to do so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Which of the user's folders (engine/paths.h).
enum class tideUserKind;

namespace tideSys {

// An open file: a descriptor here, a HANDLE on Windows.
using Handle = std::intptr_t;
constexpr Handle kNoHandle = -1;

// Returned by OpenRead and Lock for a name that is something other than a
// regular file or a folder: a FIFO, a device, a socket.
constexpr int kNotRegular = -2;

// What stands at a name.
struct Info {
    bool regular = false;  // a regular file
    bool folder = false;
    bool link = false;      // a symbolic link (only when not following links)
    unsigned mode = 0;      // permission bits, 0600 style (Windows: 0444 or 0666)
    bool readOnly = false;  // no write permission for anyone, or the read-only attribute
    std::uint64_t size = 0;
    // Differs whenever the file is replaced or written: device, file number
    // and modification time in nanoseconds.
    std::uint64_t stamp[3] = {};
};

// ENOENT when nothing has that name. With `follow` links are followed to
// what they name; without, a link is described as itself.
int Stat(const std::string& path, bool follow, Info& out);

// The name a chain of symbolic links at `path` ends at (`path` itself when it
// is no link), whether or not a file has that name yet.
int FinalName(const std::string& path, std::string& out);

// Opens a regular file for reading: a folder gives EISDIR, anything else
// that is not a regular file kNotRegular, without waiting for a writer.
int OpenRead(const std::string& path, Handle& h, std::uint64_t& size);
// Reads up to `n` bytes into `buf`; `got` is 0 at the end of the file.
int Read(Handle h, char* buf, std::size_t n, std::size_t& got);

// Creates the file `path` with permission bits `mode`, for writing. EEXIST
// when anything has that name already, a dangling link included.
int CreateNew(const std::string& path, unsigned mode, Handle& h);
// Opens `path` as a stream for writing from its start, emptied, created with
// mode 0600 when missing: the log. A link gives ELOOP, anything but a regular
// file kNotRegular.
int OpenLog(const std::string& path, std::FILE*& out);
// Writes all `n` bytes.
int Write(Handle h, const char* data, std::size_t n);
// Puts the file's data on the disk.
int Sync(Handle h);
// Closes the file; a failed close (a full disk on a network file system) is
// reported.
int Close(Handle h);

// Replaces `to` by `from` in one step: at every moment `to` is either the old
// file or the new one. Both lie in the same folder.
int Replace(const std::string& from, const std::string& to);
// Gives `from` the name `to`, which must be free: EEXIST when it is not.
int MoveNoReplace(const std::string& from, const std::string& to);
int Remove(const std::string& path);
// Makes the renames done in `folder` last through a power cut (nothing to do
// where a rename is already durable).
int SyncFolder(const std::string& folder);
// The names in `folder` that start with `prefix`.
int List(const std::string& folder, const std::string& prefix, std::vector<std::string>& out);

// Waits for, then holds, an exclusive lock through the file `path` (made
// with mode 0600 when missing, never through a link) until Unlock. The lock
// keeps out other processes and other Lock calls of this one alike.
int Lock(const std::string& path, Handle& h);
void Unlock(Handle h);

// The program's arguments in UTF-8 (`argv` as given here; on Windows read
// again from the system's wide command line).
std::vector<std::string> ProgramArgs(int argc, const char* const* argv);

// Folders.
// The folder the running program lies in; "" when it cannot be told.
std::string ProgramFolder();
// The working folder ("." when it cannot be told).
std::string WorkingFolder();
// `path` as the platform resolves it from here ("" stays ""): a relative name
// under the working folder; on Windows also "C:x" under drive C's own working
// folder and "\\x" at the working folder's drive.
std::string AbsolutePath(const std::string& path);
// Makes the folder `path`, its parent existing, open to the user only.
int MakeFolder(const std::string& path);
// How long the root of an absolute path is, 0 for a relative one: the path
// names a file by itself, not under a folder given with it. "/x" here (1);
// on Windows also "C:\\x" and "C:/x" (3) and "\\\\server\\share\\x" (up to
// the share's separator).
std::size_t RootLength(const std::string& path);
// The folder that holds the program's own folder for one kind of the
// user's files, as the platform wants it: $XDG_CONFIG_HOME, $XDG_DATA_HOME
// and $XDG_STATE_HOME (~/.config, ~/.local/share, ~/.local/state; relative
// values ignored) here. "" when there is none (no home).
std::string UserBase(tideUserKind kind);

}  // namespace tideSys
