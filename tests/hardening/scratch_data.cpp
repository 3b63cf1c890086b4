#include "tests/hardening/scratch_data.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "tests/assets/shipped_data.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

std::vector<std::string> ScratchData::ShippedFiles() {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(ShippedDataDir() + "/res"))
        if (e.is_regular_file()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ScratchData::ShippedPath(const std::string& name) {
    return ShippedDataDir() + "/res/" + name;
}

// Links are enough for the pictures and sounds; the text files (the
// configuration the options screen saves, levels a test may rewrite) are
// copied so that nothing can write through to the build's data.
ScratchData::ScratchData() : dir(MakeTempDir()) {
    fs::create_directory(dir + "/res");
    for (const std::string& name : ShippedFiles()) {
        fs::path to = dir + "/res/" + name;
        if (fs::path(name).extension() == ".txt")
            fs::copy_file(ShippedPath(name), to);
        else
            LinkOrCopy(ShippedPath(name), to.string());
    }
}

ScratchData::~ScratchData() {
    std::error_code ec;
    fs::remove_all(dir, ec);
}

void ScratchData::Remove(const std::string& name) const { fs::remove(dir + "/res/" + name); }

void ScratchData::Replace(const std::string& name, const std::string& bytes) const {
    Remove(name);
    std::ofstream(dir + "/res/" + name, std::ios::binary) << bytes;
}

std::string Garbage(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}
