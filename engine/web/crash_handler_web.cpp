// In the browser a fault ends in a JavaScript exception that the page reports
// itself: there are no signals to catch.
#include "engine/crash_handler.h"

void tideInstallCrashHandler() {}
void tideCrashLogTo(int) {}
