// A real X server for the window tests: Xvfb on a free display of its own,
// the probe window (tests/platform/probe) started on it, and xdotool to
// type into it through XTEST. Nothing here depends on time except guards
// against a hang.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"

// The program's full path from PATH, or empty.
std::string FindOnPath(const std::string& name);

// The whole file as text; empty when it cannot be read.
std::string ReadText(const std::string& path);

// Polls until condition() holds, at most maxSeconds (a guard, not a
// measurement). True when it held.
template <typename Condition>
bool WaitFor(Condition condition, int maxSeconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(maxSeconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Ends a started program with SIGTERM and waits for it.
void StopProgram(pid_t pid);

// An X server of its own on a free display: Xvfb picks the number and
// writes it to fd 3, which is the file displayFile.
class VirtualDisplay {
  public:
    explicit VirtualDisplay(const std::string& displayFile);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // ":N", or empty when the server could not start (Problem says why).
    const std::string& Display() const { return display_; }
    const std::string& Problem() const { return problem_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
    std::string problem_;
};

// The window probe running on a display, its output collected in dir.
class WindowProbe {
  public:
    WindowProbe(const VirtualDisplay& display, const TempDir& dir);
    ~WindowProbe();
    WindowProbe(const WindowProbe&) = delete;
    WindowProbe& operator=(const WindowProbe&) = delete;

    // Waits until the window is up and focused; false with a reason.
    bool WaitReady(std::string* problem);
    // Everything the probe printed so far.
    std::string Output() const { return ReadText(out_); }
    // Runs xdotool on the display; true when it ended with 0.
    bool XDoTool(const std::vector<std::string>& args) const;
    // Stops the probe (also done when the object goes).
    void Stop();

  private:
    const VirtualDisplay& display_;
    const TempDir& dir_;
    std::string out_;
    std::string err_;
    pid_t pid_ = -1;
};
