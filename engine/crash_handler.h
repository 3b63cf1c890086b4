// Fatal-signal reports: on SIGSEGV, SIGBUS, SIGFPE, SIGILL or SIGABRT the
// signal's name and a backtrace go to the game's log (and to stderr), then
// the process dies of the same signal, so the system still sees the crash.
#pragma once

// Installs the handlers (on their own stack, so an overflowed stack is
// reported too). Safe to call more than once.
void tideInstallCrashHandler();

// Where reports go besides stderr: a descriptor of the log, duplicated here so
// that it stays valid when the log's own stream is closed; -1 for none.
void tideCrashLogTo(int fd);
