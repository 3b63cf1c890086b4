// When the real-time loop may start its next frame: frames are due on a
// fixed grid of frame periods, and the time to the next one is slept away in
// one go (a sleep wakes up a fraction of a millisecond late, which the grid
// absorbs), so waiting costs no CPU.
#pragma once

class tideFramePacer {
public:
    // Milliseconds from `now` until the next frame is due, or 0 when it is
    // due: that frame is then booked. A period of 0 or less lets every frame go.
    double Wait(double now, double periodMs);

private:
    double due = -1; // when the next frame is due; -1 before the first
};
