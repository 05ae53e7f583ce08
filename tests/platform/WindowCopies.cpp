#include "platform/WindowCopies.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>

#include <filesystem>

#include "support/TestSupport.h"

namespace {

constexpr int kBoundSeconds = 60;

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

int CountOf(const std::string& haystack, const std::string& text) {
    int count = 0;
    for (size_t at = haystack.find(text); at != std::string::npos;
         at = haystack.find(text, at + text.size())) {
        ++count;
    }
    return count;
}

WindowCopies::WindowCopies(const std::string& folder) : folder_(folder) {
    mkdir(RuntimeFolder().c_str(), 0700);
    std::filesystem::create_directories(Home());
    std::filesystem::create_directories(folder_ + "/config");
    environment_ = {{"QT_QPA_PLATFORM", "offscreen"},
                    {"XDG_RUNTIME_DIR", RuntimeFolder()},
                    {"TMPDIR", folder_},
                    {"HOME", Home()},
                    {"XDG_CONFIG_HOME", folder_ + "/config"},
                    {"FOTAKLE_PRINT_STATE", "1"}};
}

WindowCopies::~WindowCopies() {
    for (auto& [name, copy] : copies_) {
        if (!copy.ended) {
            kill(copy.pid, SIGKILL);
            waitpid(copy.pid, nullptr, 0);
        }
    }
}

void WindowCopies::Set(const std::string& name, const std::string& value) {
    for (auto& [known, old] : environment_) {
        if (known == name) {
            old = value;
            return;
        }
    }
    environment_.emplace_back(name, value);
}

bool WindowCopies::Start(const std::string& name, const std::vector<std::string>& arguments) {
    std::vector<std::string> args = {FotaklePath()};
    args.insert(args.end(), arguments.begin(), arguments.end());
    Copy copy;
    copy.pid = StartProgram(args, environment_, folder_ + "/" + name + ".out",
                            folder_ + "/" + name + ".err");
    copies_[name] = copy;
    return copy.pid > 0;
}

std::string WindowCopies::Out(const std::string& name) const {
    return ReadText(folder_ + "/" + name + ".out");
}

std::string WindowCopies::Err(const std::string& name) const {
    return ReadText(folder_ + "/" + name + ".err");
}

bool WindowCopies::WaitForOutput(const std::string& name, const std::string& text, int count) {
    const timespec pause = {0, 10 * 1000 * 1000};
    int exitCode = 0;
    for (int i = 0; i < kBoundSeconds * 100; ++i) {
        if (CountOf(Out(name), text) >= count) {
            return true;
        }
        if (Ended(name, &exitCode)) {
            return CountOf(Out(name), text) >= count;
        }
        nanosleep(&pause, nullptr);
    }
    return false;
}

bool WindowCopies::Ended(const std::string& name, int* exitCode) {
    Copy& copy = copies_[name];
    if (!copy.ended && copy.pid > 0) {
        int status = 0;
        if (waitpid(copy.pid, &status, WNOHANG) == copy.pid) {
            copy.ended = true;
            copy.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
    }
    *exitCode = copy.exitCode;
    return copy.ended;
}

bool WindowCopies::WaitForEnd(const std::string& name, int* exitCode) {
    Copy& copy = copies_[name];
    if (!copy.ended && copy.pid > 0) {
        const bool ended = WaitProgram(copy.pid, kBoundSeconds, &copy.exitCode);
        copy.ended = true;
        if (!ended) {
            copy.exitCode = -1;
        }
    }
    *exitCode = copy.exitCode;
    return copy.ended && copy.exitCode >= 0;
}

void WindowCopies::Stop(const std::string& name) {
    Copy& copy = copies_[name];
    if (copy.ended || copy.pid <= 0) {
        return;
    }
    kill(copy.pid, SIGTERM);
    WaitProgram(copy.pid, kBoundSeconds, &copy.exitCode);
    copy.ended = true;
}
