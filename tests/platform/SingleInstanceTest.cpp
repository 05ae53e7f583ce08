// One copy per user: the request lines, the folder the copies meet in, the
// hand-over between two instances in this process, and real copies of the
// program started together (again and again over the socket the last one
// left), beside a listener of another user and over folders that are not
// safe.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "platform/PlatformTestSupport.h"
#include "platform/SingleInstance.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

std::string Uid() {
    return std::to_string(getuid());
}

sockaddr_un SocketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

// Runs the event loop until done() holds, within a generous bound.
template <typename Done>
bool ProcessEventsUntil(Done done) {
    return WaitFor([&] {
        QCoreApplication::processEvents();
        return done();
    });
}

// A folder with exactly this mode and owner.
void PlantFolder(const std::string& path, mode_t mode, uid_t owner) {
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    ASSERT_EQ(chown(path.c_str(), owner, owner), 0);
}

TEST(SingleInstance, RequestLinesCarryAnyAbsolutePathAndNothingElse) {
    const std::string longest = "/" + std::string(kMaxRequestPath - 1, 'p');
    for (const std::string& path :
         {std::string("/photos/a b.jpg"), std::string("/x%41%/new\nline\tand\rreturn.bmp"),
          std::string("/\x01\x7f\xff\xfe latin\xe9.gif"), std::string("/"), longest}) {
        SCOPED_TRACE(path);
        const std::string line = FormatInstanceRequest({true, path});
        ASSERT_EQ(line.back(), '\n');
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            EXPECT_GE(static_cast<unsigned char>(line[i]), 0x20) << "byte " << i;
        }
        EXPECT_LE(line.size(), kMaxRequestLine);
        InstanceRequest parsed;
        ASSERT_TRUE(ParseInstanceRequest(line.substr(0, line.size() - 1), &parsed));
        EXPECT_TRUE(parsed.open);
        EXPECT_EQ(parsed.path, path);
    }
    InstanceRequest raise;
    ASSERT_TRUE(ParseInstanceRequest("raise", &raise));
    EXPECT_FALSE(raise.open);
    EXPECT_EQ(FormatInstanceRequest({}), "raise\n");

    for (const std::string& line :
         {std::string(), std::string("raise "), std::string("Raise"), std::string("open"),
          std::string("open "), std::string("open relative.jpg"), std::string("open  /a"),
          std::string("open /a%2"), std::string("open /a%zz"), std::string("open /a%00b"),
          std::string("open /a\tb"), std::string("open /a\x7f"), std::string("close /a"),
          "open " + longest + "q", "open /" + std::string(kMaxRequestLine, 'q')}) {
        InstanceRequest parsed;
        EXPECT_FALSE(ParseInstanceRequest(line, &parsed)) << line.substr(0, 40);
    }
}

TEST(SingleInstance, MeetsInTheRuntimeFolderOrAPrivateFolderInTmp) {
    TempDir dir;
    const std::string good = dir.File("good");
    const std::string open = dir.File("open");
    mkdir(good.c_str(), 0700);
    mkdir(open.c_str(), 0755);
    fs::create_directory_symlink(good, dir.File("link"));
    ASSERT_TRUE(WriteWholeFile(dir.File("file"), {1}));
    const std::string tmp = dir.File("tmp");
    fs::create_directory(tmp);
    const std::string fallback = tmp + "/fotakle-" + Uid();
    const std::string others[] = {
        "", "good", open, dir.File("link"), dir.File("file"), dir.File("gone")};
    // Only the private runtime folder itself is taken; unset (nullptr) or
    // anything else falls back.
    std::vector<std::pair<const char*, std::string>> cases = {{good.c_str(), good},
                                                              {nullptr, fallback}};
    for (const std::string& other : others) {
        cases.emplace_back(other.c_str(), fallback);
    }
    for (const auto& [runtime, expected] : cases) {
        SCOPED_TRACE(runtime != nullptr ? runtime : "(unset)");
        fs::remove(fallback);
        const SingleInstance instance(runtime, tmp.c_str());
        EXPECT_EQ(instance.Folder(), expected);
        struct stat info {};
        ASSERT_EQ(lstat(expected.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
}

TEST(SingleInstance, LaterClaimsHandTheirRequestsToTheFirst) {
    TestApplication();
    TempDir dir;
    const std::string socketPath = dir.File("fotakle.socket");
    std::vector<std::string> heard;
    std::string problem;
    {
        SingleInstance first(dir.Path().c_str(), nullptr);
        QObject::connect(&first, &SingleInstance::RaiseRequested,
                         [&] { heard.push_back("raise"); });
        QObject::connect(&first, &SingleInstance::OpenRequested,
                         [&](const std::string& path) { heard.push_back("open " + path); });
        ASSERT_EQ(first.Claim({}, &problem), INSTANCE_FIRST) << problem;
        first.Serve();

        // A later start blocks until it is answered, so it runs beside the
        // event loop that answers it. An open request raises the window too.
        auto later = std::async(std::launch::async, [&dir] {
            SingleInstance other(dir.Path().c_str(), nullptr);
            std::string why;
            return other.Claim({true, "/pictures/a b\n.jpg"}, &why);
        });
        ASSERT_TRUE(ProcessEventsUntil(
            [&] { return later.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        EXPECT_EQ(later.get(), INSTANCE_HANDED_OVER);
        EXPECT_EQ(heard, (std::vector<std::string>{"raise", "open /pictures/a b\n.jpg"}));

        // Lines that are not requests are dropped unanswered.
        for (const std::string& line : {std::string("open relative.jpg\n"), std::string("hello\n"),
                                        std::string(kMaxRequestLine, 'a')}) {
            const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            const sockaddr_un address = SocketAddress(socketPath);
            ASSERT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
            ASSERT_EQ(send(fd, line.data(), line.size(), MSG_NOSIGNAL),
                      static_cast<ssize_t>(line.size()));
            std::string answer;
            bool closed = false;
            ASSERT_TRUE(ProcessEventsUntil([&] {
                char buffer[16];
                const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
                answer.append(buffer, n > 0 ? static_cast<size_t>(n) : 0);
                closed = n == 0 || (n < 0 && errno != EAGAIN);
                return closed;
            })) << "the connection stayed open";
            EXPECT_EQ(answer, "") << line.substr(0, 20);
            close(fd);
        }
        EXPECT_EQ(heard.size(), 2u);
    }
    // The first copy took its socket along and let the lock go.
    EXPECT_FALSE(fs::exists(fs::symlink_status(socketPath)));
    SingleInstance next(dir.Path().c_str(), nullptr);
    EXPECT_EQ(next.Claim({}, &problem), INSTANCE_FIRST) << problem;
}

class SingleInstanceCopies : public ::testing::Test {
  protected:
    SingleInstanceCopies()
        : copies_(dir_.Path()), picture_(WritePatternPicture(dir_.File("a.bmp"))) {}

    std::string SocketPath() const { return copies_.RuntimeFolder() + "/fotakle.socket"; }
    // The copy is the running editor: it has opened the picture.
    bool Opened(const std::string& name) {
        return copies_.WaitForOutput(name, "current_file " + picture_ + "\n");
    }

    TempDir dir_;
    WindowCopies copies_;
    std::string picture_;
};

TEST_F(SingleInstanceCopies, CopiesStartedTogetherLeaveExactlyOneEditor) {
    constexpr int kRounds = 6;
    constexpr int kCopies = 3;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<std::string> names;
        for (int i = 0; i < kCopies; ++i) {
            names.push_back("r" + std::to_string(round) + "-" + std::to_string(i));
            ASSERT_TRUE(copies_.Start(names.back(), {picture_}));
        }
        // All but one hand over and end; the wait is a guard against hangs.
        std::vector<std::string> running;
        WaitFor([&] {
            running.clear();
            for (const std::string& name : names) {
                int exitCode = 0;
                if (!copies_.Ended(name, &exitCode)) {
                    running.push_back(name);
                }
            }
            return running.size() <= 1;
        });
        ASSERT_EQ(running.size(), 1u) << "copies running after the others handed over";
        for (const std::string& name : names) {
            int exitCode = -1;
            if (name != running[0]) {
                ASSERT_TRUE(copies_.Ended(name, &exitCode));
                EXPECT_TRUE(exitCode == 0 && copies_.Err(name).empty())
                    << name << ": " << exitCode << " " << copies_.Err(name);
            }
        }
        // The one left took every copy's picture and is the one a later
        // start reaches.
        EXPECT_TRUE(copies_.WaitForOutput(running[0], "current_file " + picture_, kCopies));
        EXPECT_TRUE(copies_.HandsOver("later" + std::to_string(round), {}));
        // Killed, it leaves its socket behind: the next round starts over
        // a socket nobody listens on.
        copies_.Stop(running[0]);
        EXPECT_TRUE(fs::exists(fs::symlink_status(SocketPath())));
    }
}

// A process of another user listening on the socket's name, holding the
// lock or not; every byte it receives goes down a pipe to the test.
class Stranger {
  public:
    Stranger(const std::string& folder, bool holdLock) {
        // Everything the child needs is prepared before the fork.
        const sockaddr_un address = SocketAddress(folder + "/fotakle.socket");
        const std::string lockPath = folder + "/fotakle.lock";
        int ready[2];
        int heard[2];
        if (pipe(ready) != 0 || pipe(heard) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            if (holdLock) {
                const int lock = open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
                flock(lock, LOCK_EX);
            }
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            unlink(address.sun_path);
            // The peer's credentials are those of the call to listen().
            if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
                setgid(kNobody) != 0 || setuid(kNobody) != 0 || listen(fd, 8) != 0) {
                _exit(1);
            }
            (void)!write(ready[1], "r", 1);
            for (;;) {
                const int connection = accept(fd, nullptr, nullptr);
                char buffer[256];
                ssize_t n = 0;
                while (connection >= 0 && (n = read(connection, buffer, sizeof buffer)) > 0) {
                    (void)!write(heard[1], buffer, static_cast<size_t>(n));
                }
                close(connection);
            }
        }
        close(ready[1]);
        close(heard[1]);
        char byte = 0;
        listening_ = pid_ > 0 && read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        heard_ = heard[0];
        fcntl(heard_, F_SETFL, O_NONBLOCK);
    }
    ~Stranger() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(heard_);
    }
    bool Listening() const { return listening_; }
    std::string Heard() const {
        std::string bytes;
        char buffer[256];
        ssize_t n = 0;
        while ((n = read(heard_, buffer, sizeof buffer)) > 0) {
            bytes.append(buffer, static_cast<size_t>(n));
        }
        return bytes;
    }

  private:
    pid_t pid_ = -1;
    int heard_ = -1;
    bool listening_ = false;
};

TEST_F(SingleInstanceCopies, AListenerOfAnotherUserIsNeverHandedOver) {
    if (getuid() != 0) {
        GTEST_SKIP() << "needs root to listen as another user";
    }
    for (const bool holdsLock : {true, false}) {
        SCOPED_TRACE(holdsLock ? "it holds the lock" : "the lock is free");
        const std::string name = holdsLock ? "beside" : "over";
        {
            Stranger stranger(copies_.RuntimeFolder(), holdsLock);
            ASSERT_TRUE(stranger.Listening());
            ASSERT_TRUE(copies_.Start(name, {picture_}));
            // Either way the editor starts and opens its picture.
            ASSERT_TRUE(Opened(name)) << copies_.Err(name);
            if (holdsLock) {
                // It cannot be the one instance: it says so and runs alone.
                EXPECT_EQ(CountOf(copies_.Err(name), "fotakle: "), 1) << copies_.Err(name);
                EXPECT_NE(copies_.Err(name).find("another user"), std::string::npos);
            } else {
                // The free lock makes it the instance, over the stranger's name.
                EXPECT_EQ(CountOf(copies_.Err(name), "fotakle: "), 0) << copies_.Err(name);
                EXPECT_TRUE(copies_.HandsOver("later", {}));
            }
            EXPECT_EQ(stranger.Heard(), "");
        }
        copies_.Stop(name);
    }
}

// A folder in TMPDIR that is not the user's alone: the copy says so in one
// line naming it, and starts without the rule; nothing is made or changed
// through a link.
TEST_F(SingleInstanceCopies, AnUnsafeFolderIsRefusedAndTheEditorStillStarts) {
    const std::string folder = dir_.File("fotakle-" + Uid());
    copies_.Set("XDG_RUNTIME_DIR", "");
    const std::string target = dir_.File("target");
    mkdir(target.c_str(), 0700);
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"open to all", [&] { PlantFolder(folder, 0777, getuid()); }},
        {"open to the group", [&] { PlantFolder(folder, 0750, getuid()); }},
        {"a link", [&] { fs::create_directory_symlink(target, folder); }},
        {"a file", [&] { WriteWholeFile(folder, {1}); }},
        {"another user's", [&] { PlantFolder(folder, 0700, kNobody); }},
    };
    for (const auto& [name, plant] : cases) {
        SCOPED_TRACE(name);
        if (name == "another user's" && getuid() != 0) {
            continue;  // only root can give a folder away
        }
        fs::remove(folder);
        plant();
        ASSERT_TRUE(copies_.Start(name, {picture_}));
        ASSERT_TRUE(Opened(name)) << copies_.Err(name);
        const std::string err = copies_.Err(name);
        EXPECT_EQ(CountOf(err, "fotakle: "), 1) << err;
        EXPECT_NE(err.find("fotakle: no private folder for the single-instance socket (" + folder),
                  std::string::npos)
            << err;
        copies_.Stop(name);
    }
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "nothing was changed through the link";
    EXPECT_TRUE(fs::is_empty(target)) << "nothing was made through the link";
}

}  // namespace
