// tideImageJobs: pictures decoded on worker threads, so that loading a texture
// costs the caller only the file read. A picture is waited for only when its
// pixels are needed; one that no worker has started by then is decoded on the
// spot by the caller, so nothing ever waits behind the queue.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/image_decode.h"

class tideImageJobs {
public:
    struct Job;

    // `workers` threads; the queue stays closed to them until Open.
    explicit tideImageJobs(int workers);
    ~tideImageJobs();  // queued jobs are dropped, running ones finished
    tideImageJobs(const tideImageJobs&) = delete;
    tideImageJobs& operator=(const tideImageJobs&) = delete;

    std::shared_ptr<Job> Submit(std::string data);
    // Lets the workers start on the queue.
    void Open();
    // The decoded picture; false with `why` set when the bytes are not one.
    bool Take(Job& job, tideImage* out, std::string* why);
    // The picture is no longer wanted: a job not started yet never will be.
    void Drop(Job& job);

private:
    void Work();
    static void Decode(Job& job);

    std::mutex mutex;
    std::condition_variable wake, done;
    std::deque<std::shared_ptr<Job>> queue;
    std::vector<std::thread> threads;
    bool open = false, stopping = false;
};

// Width and height from a PNG file's header, without decoding it; false when
// the bytes do not start like a PNG.
bool tidePngSize(const std::string& data, int* width, int* height);
