#include "game/battle_saver.h"

cBattleSaver::cBattleSaver(Writer w) : write(std::move(w)) {}

cBattleSaver::~cBattleSaver() {
    {
        std::lock_guard<std::mutex> lock(m);
        stop = true;
    }
    wake.notify_all();
    if (worker.joinable()) worker.join();
}

void cBattleSaver::Save(const std::string& p, std::string t) {
#ifdef __EMSCRIPTEN__
    write(p, t);
#else
    {
        std::lock_guard<std::mutex> lock(m);
        path = p;
        text = std::move(t);
        waiting = true;
        if (!worker.joinable()) worker = std::thread([this] { Run(); });
    }
    wake.notify_all();
#endif
}

void cBattleSaver::Flush() {
    std::unique_lock<std::mutex> lock(m);
    done.wait(lock, [this] { return !waiting && !busy; });
}

void cBattleSaver::Run() {
    std::unique_lock<std::mutex> lock(m);
    for (;;) {
        wake.wait(lock, [this] { return waiting || stop; });
        // The last save asked for is made before the saver stops.
        if (!waiting) break;
        std::string p = std::move(path), t = std::move(text);
        waiting = false;
        busy = true;
        lock.unlock();
        write(p, t);
        lock.lock();
        busy = false;
        done.notify_all();
    }
}
