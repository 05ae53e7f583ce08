// Window copies of the built program, for the tests of the one-copy rule
// and of pictures handed to a running copy. Every copy runs under the
// offscreen platform with the settings, home, socket folder and temporary
// folder of the test, and prints its state (as a replay's "print state")
// each time it has dealt with a picture handed to it. Copies still running
// when the object goes are killed.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "platform/RunProgram.h"

class WindowCopies {
  public:
    // folder: the test's own temporary folder; "run" (mode 0700), "home" and
    // "config" are made in it.
    explicit WindowCopies(const std::string& folder);
    ~WindowCopies();
    WindowCopies(const WindowCopies&) = delete;
    WindowCopies& operator=(const WindowCopies&) = delete;

    // Replaces (or adds) a variable of the copies' environment.
    void Set(const std::string& name, const std::string& value);
    const Environment& Env() const { return environment_; }
    std::string RuntimeFolder() const { return folder_ + "/run"; }
    std::string Home() const { return folder_ + "/home"; }

    // Starts `fotakle arguments...` as the copy called name; its stdout and
    // stderr go to folder/name.out and .err. False when it cannot start.
    bool Start(const std::string& name, const std::vector<std::string>& arguments);
    std::string Out(const std::string& name) const;
    std::string Err(const std::string& name) const;
    // Waits until the copy's stdout holds text count times. False when the
    // copy ends first or a generous bound passes (a guard against hangs).
    bool WaitForOutput(const std::string& name, const std::string& text, int count = 1);
    // True, with the exit code, once the copy has ended; never waits.
    bool Ended(const std::string& name, int* exitCode);
    // Waits for the copy to end, within a generous bound (then it is
    // killed and the answer is false).
    bool WaitForEnd(const std::string& name, int* exitCode);
    // Ends a running copy (SIGTERM) and waits for it.
    void Stop(const std::string& name);

  private:
    struct Copy {
        pid_t pid = -1;
        bool ended = false;
        int exitCode = -1;
    };

    std::string folder_;
    Environment environment_;
    std::map<std::string, Copy> copies_;
};

// How often text occurs in haystack.
int CountOf(const std::string& haystack, const std::string& text);
