// ThumbnailWorker: makes the Open browser's thumbnails on threads of its
// own, so that the window's thread never waits for a decode.
//
// Request replaces the jobs not yet begun by new ones, most wanted first;
// a job that is being made, or is made and not yet delivered, is not begun
// again. Made thumbnails wait until Deliver hands them to the sink of the
// last Request, on the thread that calls Deliver; the wake function, called
// on a worker thread whenever made thumbnails start to wait, lets the owner
// schedule that call (the window posts it to its event loop; the replay
// runner calls Deliver itself after WaitUntilIdle).
//
// The threads run at a lower priority than the rest of the program. The
// destructor drops the queue and waits for the jobs being made.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/Shell.h"

class ThumbnailWorker {
  public:
    // Makes one thumbnail; called on the worker threads, several at once.
    using MakeFunction = std::function<DibBlock(const std::string& path)>;

    // threads: at least 1. wake may be empty.
    ThumbnailWorker(int threads, MakeFunction make, std::function<void()> wake);
    ~ThumbnailWorker();
    ThumbnailWorker(const ThumbnailWorker&) = delete;
    ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

    // The threads a worker of the window should run: one core is left to
    // the window's thread, and at most two decode at once.
    static int DefaultThreads();

    void Request(std::vector<ThumbnailJob> jobs, ThumbnailSink sink);
    // Hands the made thumbnails to the sink (none without one). Returns how
    // many were made.
    int Deliver();
    // Blocks until no job is queued or being made.
    void WaitUntilIdle();

  private:
    void Run();
    bool Busy(const std::string& path) const;

    MakeFunction make_;
    std::function<void()> wake_;
    std::mutex mutex_;
    std::condition_variable work_;  // a job was queued, or the worker stops
    std::condition_variable idle_;  // a job ended
    std::deque<ThumbnailJob> queue_;
    // Paths being made, or made and not yet delivered.
    std::vector<std::string> busy_;
    std::vector<std::pair<ThumbnailJob, DibBlock>> made_;
    ThumbnailSink sink_;
    int running_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};
