// Access to the data folder the build generated, for tests that check the
// shipped data: a headless engine whose data folder sees the shipped res/.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"

#ifndef THALOMIR_SHIPPED_DATA_DIR
#error "THALOMIR_SHIPPED_DATA_DIR must name the build's data folder"
#endif

inline std::string ShippedDataDir() {
    return THALOMIR_SHIPPED_DATA_DIR;
}

// A fresh headless engine over a temporary folder whose "res" links to (or,
// where there are no links, is a copy of) the shipped one, so nothing a test
// does can write into the build's data.
class ShippedData : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LinkOrCopy(ShippedDataDir() + "/res", eng.Path("res")));
        tide = eng.tide;
        hl = eng.hl;
    }

    HeadlessEngine eng;
    Tide* tide = nullptr;
    tideHeadless* hl = nullptr;
};
