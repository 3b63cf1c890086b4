// A headless engine per test, with helpers to build a resource manager on a
// script written into the test's data folder and to check the log.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "res/resource_manager.h"
#include "tests/support/test_support.h"

class ResTest : public ::testing::Test {
protected:
    HeadlessEngine eng;

    // Writes `text` as "s.txt" and builds a manager on it, with the log emptied
    // first so that only the parse's lines remain.
    std::unique_ptr<tideResourceManager> Load(const std::string& text) {
        eng.WriteFile("s.txt", text);
        eng.hl->ClearLog();
        return std::make_unique<tideResourceManager>("s.txt");
    }

    template <class T>
    static T* Desc(tideResourceManager* rm, int type, const char* name) {
        return static_cast<T*>(FindRes(rm, type, name));
    }

    static int Count(tideResourceManager* rm, int type) {
        int n = 0;
        for (ResDesc* rc = rm->res[type]; rc; rc = rc->next) ++n;
        return n;
    }

    // Exact line, as modders grep for it.
    bool Logged(const std::string& line) const {
        const auto& log = eng.hl->Log();
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    // Lines logged, leaving out the engine's own "Can't ..." lines for files it
    // could not load.
    size_t LogSize() const {
        const auto& log = eng.hl->Log();
        return size_t(std::count_if(log.begin(), log.end(), [](const std::string& l) {
            return l.rfind("Can't ", 0) != 0;
        }));
    }
};
