// Test support: a fresh headless engine per test with its own data folder,
// and helpers to put files (text, PNG images) into that folder.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/tide.h"
#include "engine/tide_headless.h"

class HeadlessEngine {
public:
    // Creates the engine in headless mode with a 1024x768 frame and the given
    // data folder, or a fresh temporary one when `dataDir` is empty, and
    // initiates it. Frame and render callbacks may be set before Frame().
    // Portable, the user's files stay in the data folder, so no test reads
    // or writes the settings of whoever runs it.
    explicit HeadlessEngine(const std::string& dataDir = "", bool portable = true);
    ~HeadlessEngine(); // shuts the engine down, releases it, removes a temporary folder

    HeadlessEngine(const HeadlessEngine&) = delete;
    HeadlessEngine& operator=(const HeadlessEngine&) = delete;

    Tide* tide = nullptr;
    tideHeadless* hl = nullptr;
    std::string dir; // the data folder

    std::string Path(const std::string& rel) const; // host path of a file in the data folder
    void WriteFile(const std::string& rel, const std::string& contents) const;
    void WriteBytes(const std::string& rel, const void* data, size_t size) const;
    // Writes an ARGB image as PNG (pixels row by row, w*h entries).
    void WritePng(const std::string& rel, int w, int h, const std::vector<DWORD>& argb) const;
    void WriteSolidPng(const std::string& rel, int w, int h, DWORD argb) const;
    // Writes a short silent 16-bit mono WAV file.
    void WriteWav(const std::string& rel) const;
    std::string ReadFile(const std::string& rel) const;

    // True when some log line contains `text`; the number of such lines.
    bool LogHas(const std::string& text) const;
    int LogCount(const std::string& text) const;

private:
    bool ownDir = false;
};

// A campaign file of `levels` levels, "res\lvl1.txt" and on, with their
// spots 100 pixels apart on a diagonal of the level map, no briefings.
std::string CampaignText(int levels);

// A hand-written file of the game's data as it ships ("kinds.txt"); empty
// when it cannot be read.
std::string ShippedDataText(const std::string& name);

// A fresh empty temporary folder.
std::string MakeTempDir();

// True in the AddressSanitizer build, where long tests play a sample.
inline bool SanitizedBuild() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}
// Makes `to` a symbolic link to the file or folder `from`. On Windows, where
// Wine makes no symbolic links, a folder of hard links (or copies) instead:
// only writing into a file in place would reach `from`.
bool LinkOrCopy(const std::string& from, const std::string& to);
#ifdef _WIN32
// True when the program runs under Wine rather than Windows itself.
bool UnderWine();
#endif
// True when a lock (tideSys::Lock) is held through the file `path` by
// anyone: another process, or another handle of this one.
bool LockIsHeld(const std::string& path);
// Sets an environment variable for this process and the programs it starts;
// nullptr removes it.
void SetEnv(const char* name, const char* value);
// Sets (or with nullptr removes) each variable, and puts them back after.
class ScopedEnv {
public:
    ScopedEnv(std::initializer_list<std::pair<const char*, const char*>> vars);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};
// Folder of the test data committed under tests/data (THALOMIR_TEST_DATA).
std::string TestDataDir();
