// Progress files, as saved or imported by the player: whatever is read must
// be written back as the same progress, and merging it with itself changes
// nothing.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/progress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    cProgress p;
    if (cProgress::Read(text, p) == cProgressRead::Damaged) return 0;
    const std::string written = p.Text();
    cProgress back;
    if (cProgress::Read(written, back) != cProgressRead::Ok || !(back == p)) {
        std::fprintf(stderr, "fuzz: progress read back differs:\n%s", written.c_str());
        abort();
    }
    if (!(cProgress::Merge(p, p) == p)) {
        std::fprintf(stderr, "fuzz: progress merged with itself changed:\n%s", written.c_str());
        abort();
    }
    return 0;
}
