#include <windows.h>

#include <cstdio>

#include "app/console.h"

void AttachParentConsole() {
    // Redirected output has its handle already; a terminal's console does not
    // reach a windows-subsystem program until it attaches.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!std::freopen("CONOUT$", "w", stdout)) return;
    std::freopen("CONOUT$", "w", stderr);
    // The shell printed its prompt when the program started: begin on a
    // line of our own.
    std::fputs("\n", stdout);
}
