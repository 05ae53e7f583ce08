#include "platform/ThumbnailWorker.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace {

// How much further back the decoding threads stand than the window's
// thread (nice steps): on a busy machine a key press wins the core.
constexpr int kWorkerNiceness = 10;

}  // namespace

ThumbnailWorker::ThumbnailWorker(int threads, MakeFunction make, std::function<void()> wake)
    : make_(std::move(make)), wake_(std::move(wake)) {
    threads = std::max(threads, 1);
    for (int i = 0; i < threads; ++i) {
        threads_.emplace_back([this] { Run(); });
    }
}

ThumbnailWorker::~ThumbnailWorker() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    work_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

int ThumbnailWorker::DefaultThreads() {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores - 1, 1, 2);
}

bool ThumbnailWorker::Busy(const std::string& path) const {
    return std::find(busy_.begin(), busy_.end(), path) != busy_.end();
}

void ThumbnailWorker::Request(std::vector<ThumbnailJob> jobs, ThumbnailSink sink) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        sink_ = std::move(sink);
        queue_.clear();
        for (ThumbnailJob& job : jobs) {
            if (!Busy(job.path)) {
                queue_.push_back(std::move(job));
            }
        }
    }
    work_.notify_all();
    // Dropped jobs may have been all that kept a waiter waiting.
    idle_.notify_all();
}

int ThumbnailWorker::Deliver() {
    std::vector<std::pair<ThumbnailJob, DibBlock>> made;
    ThumbnailSink sink;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        made.swap(made_);
        for (const auto& result : made) {
            const auto found = std::find(busy_.begin(), busy_.end(), result.first.path);
            if (found != busy_.end()) {
                busy_.erase(found);
            }
        }
        sink = sink_;
    }
    // Outside the lock: the sink may ask for more jobs.
    if (sink) {
        for (auto& result : made) {
            sink(result.first, std::move(result.second));
        }
    }
    return static_cast<int>(made.size());
}

void ThumbnailWorker::WaitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && running_ == 0; });
}

void ThumbnailWorker::Run() {
    // On Linux the niceness of a thread is its own; failure leaves it as it
    // was.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNiceness);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) {
            return;
        }
        ThumbnailJob job = std::move(queue_.front());
        queue_.pop_front();
        busy_.push_back(job.path);
        ++running_;
        lock.unlock();
        DibBlock thumbnail = make_(job.path);
        lock.lock();
        const bool firstWaiting = made_.empty();
        made_.emplace_back(std::move(job), std::move(thumbnail));
        // The owner is woken outside the lock, and before the job counts as
        // ended, so that whoever waited for the worker to be idle finds the
        // wake already scheduled.
        if (firstWaiting && wake_ && !stopping_) {
            lock.unlock();
            wake_();
            lock.lock();
        }
        --running_;
        idle_.notify_all();
    }
}
