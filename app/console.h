// The game has no console window on Windows (it is a windows-subsystem
// program), so what it prints before the game starts (--help, --version, a
// bad command line) goes to the console it was started from.
#pragma once

#ifdef _WIN32
// Joins the parent process's console, unless the output already goes to a
// file or pipe.
void AttachParentConsole();
#else
inline void AttachParentConsole() {}
#endif
