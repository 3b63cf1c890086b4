#include "engine/image_jobs.h"

struct tideImageJobs::Job {
    enum State { QUEUED, RUNNING, DONE } state = QUEUED;
    std::string data;
    tideImage image;
    std::string why;
    bool ok = false;
};

tideImageJobs::tideImageJobs(int workers) {
    for (int i = 0; i < workers; ++i) threads.emplace_back([this] { Work(); });
}

tideImageJobs::~tideImageJobs() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        queue.clear();
    }
    wake.notify_all();
    for (std::thread& t : threads) t.join();
}

std::shared_ptr<tideImageJobs::Job> tideImageJobs::Submit(std::string data) {
    auto job = std::make_shared<Job>();
    job->data = std::move(data);
    {
        std::lock_guard<std::mutex> lock(mutex);
        queue.push_back(job);
    }
    wake.notify_one();
    return job;
}

void tideImageJobs::Open() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (open) return;
        open = true;
    }
    wake.notify_all();
}

void tideImageJobs::Decode(Job& job) {
    job.ok = tideDecodeImage(job.data, &job.image, &job.why);
    job.data = std::string();  // the file's bytes are not needed any more
}

void tideImageJobs::Work() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || (open && !queue.empty()); });
        if (stopping) return;
        std::shared_ptr<Job> job = std::move(queue.front());
        queue.pop_front();
        if (job->state != Job::QUEUED) continue;  // taken or dropped meanwhile
        job->state = Job::RUNNING;
        lock.unlock();
        Decode(*job);
        lock.lock();
        job->state = Job::DONE;
        done.notify_all();
    }
}

bool tideImageJobs::Take(Job& job, tideImage* out, std::string* why) {
    std::unique_lock<std::mutex> lock(mutex);
    if (job.state == Job::QUEUED) {
        job.state = Job::RUNNING;  // the queue's copy is skipped
        lock.unlock();
        Decode(job);
        lock.lock();
        job.state = Job::DONE;
    }
    done.wait(lock, [&] { return job.state == Job::DONE; });
    *out = std::move(job.image);
    *why = job.why;
    return job.ok;
}

void tideImageJobs::Drop(Job& job) {
    std::lock_guard<std::mutex> lock(mutex);
    if (job.state == Job::QUEUED) {
        job.state = Job::DONE;
        job.data = std::string();
    }
}

bool tidePngSize(const std::string& data, int* width, int* height) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data.size() < 24 || data.compare(0, 8, reinterpret_cast<const char*>(kSignature), 8) != 0 ||
        data.compare(12, 4, "IHDR") != 0)
        return false;
    auto be32 = [&](size_t at) {
        const auto* p = reinterpret_cast<const unsigned char*>(data.data()) + at;
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
    };
    uint32_t w = be32(16), h = be32(20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return false;
    *width = int(w);
    *height = int(h);
    return true;
}
