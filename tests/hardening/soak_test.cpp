// The soak: many battles in a row over the eight shipped levels, the tests'
// player bot against the AI, on one game as a long session would run them.
// Every battle must end within the turn limit, the control lock must come
// back to 0 after every action, and memory must stay flat from the first
// battles to the last. THALOMIR_SOAK_BATTLES sets the number of battles; the
// default is a short run for the everyday suite.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "tests/game/battle_world.h"
#include "tests/game/player_bot.h"
#include "tests/hardening/scratch_data.h"
#include "tools/process_stats.h"

// Live allocations of the whole test program, counted at the C++ allocator:
// exact where the resident size is blurred by the allocator's caches (and by
// the sanitizer's quarantine).
namespace {
std::atomic<long long> liveBlocks{0}, liveBytes{0};
#ifdef _WIN32
std::size_t malloc_usable_size(void* p) { return _msize(p); }
#endif
}  // namespace

// The replaced pair takes its blocks from malloc, which the compiler cannot
// see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    liveBlocks.fetch_add(1, std::memory_order_relaxed);
    liveBytes.fetch_add(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    return p;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    liveBlocks.fetch_sub(1, std::memory_order_relaxed);
    liveBytes.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

namespace {

const int kDefaultBattles = 60;
const int kTurnLimit = 100;
// Frames an action may hold the lock: the slowest, a move at the fastest
// pace, takes three frames of the bot's 0.25 s.
const int kMaxLockedFrames = 20;

int Battles() {
    const char* env = std::getenv("THALOMIR_SOAK_BATTLES");
    int n = env ? std::atoi(env) : 0;
    return n > 0 ? n : kDefaultBattles;
}

long ResidentKiB() { return long(ProcessResidentMiB() * 1024); }

long PeakResidentKiB() { return long(ProcessPeakMiB() * 1024); }

struct Memory {
    long long blocks, bytes;
    long residentKiB;
    static Memory Now() { return {liveBlocks.load(), liveBytes.load(), ResidentKiB()}; }
};

// Memory with the last battle's units dropped (and any lock a final strike
// still held): a level that does not exist loads an empty board.
Memory MeasureOnEmptyBoard(BattleWorld& w) {
    w.game->LoadLevel(0);
    w.game->gamestate = GS_CHLVL;
    w.hl->ClearLog();
    return Memory::Now();
}

}  // namespace

TEST(Soak, BattlesOverTheShippedLevelsEndAndLeaveMemoryFlat) {
    const int battles = Battles();
    // Memory is compared from the end of the first hundred battles (a third
    // of a short run), once every level has been played and loaded.
    const int warm = std::min(100, battles / 3);
    auto started = std::chrono::steady_clock::now();

    ScratchData data;
    BattleWorld w(data.dir);
    cGame& g = *w.game;
    g.speed = 100;

    Memory base{};
    int victories = 0, lockedFrames = 0, longestLock = 0, longestBattle = 0;
    for (int b = 0; b < battles; ++b) {
        const int level = b % 8 + 1;
        // The turn order is shuffled from the engine clock: a different pause
        // on the level choice before each battle gives different orders.
        w.Frame(0.001f * static_cast<float>(1 + (b * 37) % 500));
        w.Start(level);
        ASSERT_EQ(cGame::locklvl, 0) << "battle " << b << " starts locked";
        ASSERT_FALSE(g.units.empty()) << "level " << level << " loaded no units";

        bool won = bot::PlayBattle(w, kTurnLimit, [&] {
            ASSERT_LE(cGame::locklvl, 1) << "battle " << b << " turn " << cGame::turn;
            lockedFrames = cGame::IsControlLocked() ? lockedFrames + 1 : 0;
            longestLock = std::max(longestLock, lockedFrames);
        });
        ASSERT_LE(longestLock, kMaxLockedFrames) << "battle " << b << ": the lock was never given back";
        ASSERT_EQ(g.gamestate, GS_CHLVL)
            << "battle " << b << " (level " << level << ") still running in turn " << cGame::turn;
        victories += won;
        longestBattle = std::max(longestBattle, cGame::turn);

        // The headless engine keeps every log line and sound play for the
        // tests to read; a real run writes them to a file and keeps nothing.
        w.hl->ClearLog();
        w.hl->ClearSounds();
        if (b + 1 == warm) base = MeasureOnEmptyBoard(w);
    }
    Memory end = MeasureOnEmptyBoard(w);

    double minutes =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() / 60;
    std::printf("soak: %d battles, %d won, %.2f minutes, peak resident %ld KiB, longest battle %d "
                "turns, longest lock %d frames\n",
                battles, victories, minutes, PeakResidentKiB(), longestBattle, longestLock);
    std::printf("soak: live allocations after battle %d: %lld blocks, %lld bytes, resident %ld KiB\n",
                warm, base.blocks, base.bytes, base.residentKiB);
    std::printf("soak: live allocations at the end: %lld blocks, %lld bytes, resident %ld KiB\n",
                end.blocks, end.bytes, end.residentKiB);

    EXPECT_GT(victories, 0);
    EXPECT_LT(victories, battles);
    // The same board, units and resources are live after every battle; a
    // little slack covers the engine's pruned table of finished sound channels.
    EXPECT_LE(end.blocks - base.blocks, 300);
    EXPECT_LE(end.bytes - base.bytes, 64 * 1024);
    if (!SanitizedBuild()) {
        EXPECT_LE(end.residentKiB - base.residentKiB, 16 * 1024);
    }
}
