// Starting the built program from the tests: arguments passed as they are,
// chosen environment variables replaced, stdout and stderr captured.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

using Environment = std::vector<std::pair<std::string, std::string>>;

// The built fotakle program.
std::string FotaklePath();

// Starts the program with the current environment, the given variables
// replaced; stdout and stderr go to the two files. -1 when it cannot start.
pid_t StartProgram(const std::vector<std::string>& args, const Environment& environment,
                   const std::string& outFile, const std::string& errFile);

// Waits for the program to end, at most maxSeconds (a guard against hangs,
// not a time limit under test). True and its exit code (or 128 + signal)
// when it ended; false, after killing it, when it did not.
bool WaitProgram(pid_t pid, int maxSeconds, int* exitCode);

struct ProgramResult {
    bool ended = false;
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the program to its end in folder, within a generous bound.
ProgramResult RunProgram(const std::vector<std::string>& args, const Environment& environment,
                         const std::string& folder);
