#include "engine/frame_pacer.h"

double tideFramePacer::Wait(double now, double periodMs) {
    if (periodMs <= 0) {
        due = now;
        return 0;
    }
    if (due < 0) due = now;
    if (due > now + periodMs) due = now + periodMs; // the period got shorter
    if (due > now) return due - now;
    // A late wake-up must not lengthen every frame after it, but after a long
    // stall a fresh grid starts instead of a rush to catch up.
    due += periodMs;
    if (now - due > periodMs) due = now + periodMs;
    return 0;
}
