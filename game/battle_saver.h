// Saves of one file made off the frame thread: a save flushed to the disk
// can take tens of milliseconds, which a frame cannot spare. The newest text
// asked for is the one written; one overtaken before its turn is dropped.
// In the browser, which gives the page no threads, saves are made at once.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class cBattleSaver {
public:
    // `write` makes `text` the file at `path`; it runs on the saver's thread.
    using Writer = std::function<void(const std::string& path, const std::string& text)>;
    explicit cBattleSaver(Writer write);
    ~cBattleSaver();  // finishes the save under way and the one waiting
    cBattleSaver(const cBattleSaver&) = delete;
    cBattleSaver& operator=(const cBattleSaver&) = delete;

    void Save(const std::string& path, std::string text);
    // Returns once every save asked for so far is done.
    void Flush();

private:
    void Run();

    Writer write;
    std::mutex m;
    std::condition_variable wake, done;
    std::string path, text;
    bool waiting = false;  // a save not begun yet
    bool busy = false;     // a save under way
    bool stop = false;
    std::thread worker;    // started with the first save
};
