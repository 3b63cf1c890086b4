// The real-time loop's clock and sleep, one form per platform (clock.cpp,
// clock_win.cpp): milliseconds from a steady clock, and a sleep that wakes up
// within about a millisecond, so frames can be paced on a 60 Hz grid.
#pragma once

double tideClockMs();
void tideClockSleep(double seconds);
