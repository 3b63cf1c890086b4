// A throw-away data folder that mirrors the shipped data set, for runs that
// remove, spoil or rewrite its files without touching the build's copy.
#pragma once

#include <string>
#include <vector>

class ScratchData {
public:
    // Mirrors every shipped file of res/ into a fresh temporary folder.
    ScratchData();
    ~ScratchData(); // removes the folder

    ScratchData(const ScratchData&) = delete;
    ScratchData& operator=(const ScratchData&) = delete;

    // Names of the shipped res/ files (licence texts live elsewhere), sorted.
    static std::vector<std::string> ShippedFiles();
    // Host path of a shipped res/ file.
    static std::string ShippedPath(const std::string& name);

    void Remove(const std::string& name) const;
    void Replace(const std::string& name, const std::string& bytes) const;

    std::string dir; // the data folder; its res/ holds the files
};

// `size` bytes of noise from a fixed seed: a broken file of a given size.
std::string Garbage(std::size_t size, unsigned seed);
