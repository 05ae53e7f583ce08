#include "platform/RunProgram.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <fcntl.h>
#include <cstring>

#include "support/TestSupport.h"

extern char** environ;

namespace {

constexpr int kRunBoundSeconds = 120;

std::vector<std::string> MergedEnvironment(const Environment& replaced) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replace = false;
        for (const auto& [name, value] : replaced) {
            if (text.compare(0, name.size() + 1, name + "=") == 0) {
                replace = true;
            }
        }
        if (!replace) {
            merged.push_back(text);
        }
    }
    for (const auto& [name, value] : replaced) {
        merged.push_back(name + "=" + value);
    }
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::string FotaklePath() {
    return FOTAKLE_PATH;
}

pid_t StartProgram(const std::vector<std::string>& args, const Environment& environment,
                   const std::string& outFile, const std::string& errFile) {
    std::vector<std::string> argTexts = args;
    std::vector<std::string> envTexts = MergedEnvironment(environment);
    std::vector<char*> argv = Pointers(argTexts);
    std::vector<char*> envp = Pointers(envTexts);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

bool WaitProgram(pid_t pid, int maxSeconds, int* exitCode) {
    const timespec pause = {0, 10 * 1000 * 1000};
    for (int waited = 0; waited < maxSeconds * 100; ++waited) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        }
        if (done < 0) {
            return false;
        }
        nanosleep(&pause, nullptr);
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return false;
}

ProgramResult RunProgram(const std::vector<std::string>& args, const Environment& environment,
                         const std::string& folder) {
    ProgramResult result;
    const std::string outFile = folder + "/stdout.txt";
    const std::string errFile = folder + "/stderr.txt";
    const pid_t pid = StartProgram(args, environment, outFile, errFile);
    if (pid < 0) {
        return result;
    }
    result.ended = WaitProgram(pid, kRunBoundSeconds, &result.exitCode);
    result.out = ReadText(outFile);
    result.err = ReadText(errFile);
    return result;
}
