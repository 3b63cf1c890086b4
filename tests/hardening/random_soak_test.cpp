// The random-input soak in the suite: a short fixed run, longer under the
// sanitizers. THALOMIR_RANDOM_SOAK_FRAMES and THALOMIR_RANDOM_SOAK_SEED set
// a long run's frame count and seed (tools/random-soak.sh runs several seeds).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/hardening/random_soak.h"
#include "tests/hardening/scratch_data.h"
#include "tests/support/test_support.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
const long long kDefaultFrames = 300000;
#else
const long long kDefaultFrames = 30000;
#endif

long long EnvNumber(const char* name, long long fallback) {
    const char* v = std::getenv(name);
    long long n = v ? std::atoll(v) : 0;
    return n > 0 ? n : fallback;
}

}  // namespace

TEST(RandomSoak, SeededRandomInputKeepsEveryInvariant) {
    long long frames = EnvNumber("THALOMIR_RANDOM_SOAK_FRAMES", kDefaultFrames);
    auto seed = static_cast<uint64_t>(EnvNumber("THALOMIR_RANDOM_SOAK_SEED", 1));
    ScratchData data;
    RandomSoakReport r = RunRandomSoak(data.dir, frames, seed);
    std::printf("random soak, seed %llu: %s\n", static_cast<unsigned long long>(seed),
                r.Summary().c_str());
    for (const std::string& f : r.findings) ADD_FAILURE() << f;
    for (long long n : r.framesOn) EXPECT_GT(n, 0) << "a screen was never reached";
    EXPECT_GT(r.BattlesEnded(), 0);
}
