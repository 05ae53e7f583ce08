// One copy per user: a second start of the window program hands over to the
// running copy and ends with 0, leaving the first running.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/RunProgram.h"
#include "platform/SingleInstance.h"
#include "platform/TestApplication.h"
#include "support/TestSupport.h"

namespace {

constexpr int kBoundSeconds = 60;

// Waits for the first copy's socket to appear in its temporary folder.
bool WaitForSocket(const std::string& path, pid_t first) {
    const timespec pause = {0, 20 * 1000 * 1000};
    for (int i = 0; i < kBoundSeconds * 50; ++i) {
        if (std::filesystem::exists(path)) {
            return true;
        }
        int status = 0;
        if (waitpid(first, &status, WNOHANG) == first) {
            return false;  // the first copy ended
        }
        nanosleep(&pause, nullptr);
    }
    return false;
}

TEST(SingleInstance, SecondStartRaisesTheFirstAndExitsWithZero) {
    TempDir dir;
    const Environment environment = {{"QT_QPA_PLATFORM", "offscreen"},
                                     {"TMPDIR", dir.Path()},
                                     {"XDG_CONFIG_HOME", dir.File("config")}};
    const pid_t first = StartProgram({FotaklePath()}, environment, dir.File("first-out.txt"),
                                     dir.File("first-err.txt"));
    ASSERT_GT(first, 0);
    const std::string socket = dir.File("fotakle-" + std::to_string(getuid()));
    if (!WaitForSocket(socket, first)) {
        kill(first, SIGKILL);
        waitpid(first, nullptr, 0);
        const std::vector<uint8_t> err = ReadWholeFile(dir.File("first-err.txt"));
        FAIL() << "the first copy never listened: " << std::string(err.begin(), err.end());
    }

    const pid_t second = StartProgram({FotaklePath()}, environment, dir.File("second-out.txt"),
                                      dir.File("second-err.txt"));
    ASSERT_GT(second, 0);
    int exitCode = -1;
    const bool ended = WaitProgram(second, kBoundSeconds, &exitCode);
    EXPECT_TRUE(ended) << "the second copy kept running";
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0) << "the first copy ended";

    kill(first, SIGTERM);
    int firstCode = 0;
    WaitProgram(first, kBoundSeconds, &firstCode);
}

TEST(SingleInstance, ALaterStartAsksTheListeningCopyToRaise) {
    TestApplication();
    TempDir dir;
    const QString name = QString::fromStdString(dir.File("socket"));
    SingleInstance running(name);
    int raised = 0;
    QObject::connect(&running, &SingleInstance::RaiseRequested, [&raised] { ++raised; });
    SingleInstance later(name);
    EXPECT_FALSE(later.AskRunningCopyToRaise()) << "nobody listens yet";
    ASSERT_TRUE(running.Listen());
    EXPECT_TRUE(later.AskRunningCopyToRaise());
    for (int i = 0; i < 500 && raised == 0; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(raised, 1);
}

}  // namespace
