#include "platform/SingleInstance.h"

#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

const char kLockName[] = "fotakle.lock";
const char kSocketName[] = "fotakle.socket";
const char kReply[] = "ok\n";
constexpr int kListenBacklog = 16;
// How long a later start waits for a copy that holds the lock to listen and
// answer; the first copy listens at once and answers from its event loop.
constexpr std::chrono::seconds kClaimBound(30);
constexpr long kRetryPauseNs = 20L * 1000 * 1000;
// A connection that has not sent its line by then is dropped.
constexpr int kConnectionIdleMs = 10000;

using Clock = std::chrono::steady_clock;

std::string ErrnoText() {
    return std::strerror(errno);
}

// Opens the folder without following a last symbolic link and checks it:
// a folder, owned by this user, no group or other permissions. -1 with
// *problem when it is not safe.
int OpenPrivateFolder(const std::string& path, std::string* problem) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *problem =
            path + ": " + (errno == ELOOP || errno == ENOTDIR ? "not a folder" : ErrnoText());
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode)) {
        *problem = path + ": not a folder";
    } else if (info.st_uid != getuid()) {
        *problem = path + ": owned by another user";
    } else if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        *problem = path + ": open to other users";
    } else {
        return fd;
    }
    close(fd);
    return -1;
}

bool Set(const char* value) {
    return value != nullptr && value[0] != '\0';
}

// The uid of the process at the other end of a connected socket; false when
// it cannot be read.
bool PeerUid(int fd, uid_t* uid) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials) {
        return false;
    }
    *uid = credentials.uid;
    return true;
}

bool NeedsEscape(unsigned char c) {
    return c == '%' || c < 0x20 || c == 0x7f;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

enum HandOverResult { HAND_OVER_TAKEN, HAND_OVER_NOBODY, HAND_OVER_STRANGER };

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for fd to be ready for events until the deadline.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry = {fd, events, 0};
        const int ready = poll(&entry, 1, MillisecondsLeft(deadline));
        if (ready > 0) {
            return true;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

// One attempt: connect, check the listener's user, send the line, read the
// answer. Nobody: no listener yet, or one that went before it answered.
HandOverResult HandOver(const sockaddr_un& address, const std::string& line,
                        Clock::time_point deadline) {
    // Non-blocking, so that a listener whose queue is full cannot hold this
    // start up: the attempt fails and is made again.
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return HAND_OVER_NOBODY;
    }
    HandOverResult result = HAND_OVER_NOBODY;
    uid_t peer = 0;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        result = HAND_OVER_NOBODY;
    } else if (!PeerUid(fd, &peer) || peer != getuid()) {
        result = HAND_OVER_STRANGER;
    } else {
        size_t sent = 0;
        while (sent < line.size() && WaitFor(fd, POLLOUT, deadline)) {
            const ssize_t n = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno != EINTR && errno != EAGAIN) {
                break;
            }
            sent += n > 0 ? static_cast<size_t>(n) : 0;
        }
        std::string answer;
        while (sent == line.size() && answer.size() < std::strlen(kReply) &&
               WaitFor(fd, POLLIN, deadline)) {
            char buffer[8];
            const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
                break;
            }
            answer.append(buffer, n > 0 ? static_cast<size_t>(n) : 0);
        }
        result = answer == kReply ? HAND_OVER_TAKEN : HAND_OVER_NOBODY;
    }
    close(fd);
    return result;
}

}  // namespace

std::string FormatInstanceRequest(const InstanceRequest& request) {
    if (!request.open) {
        return "raise\n";
    }
    std::string line = "open ";
    for (const char c : request.path) {
        if (NeedsEscape(static_cast<unsigned char>(c))) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            line += escaped;
        } else {
            line += c;
        }
    }
    return line + "\n";
}

bool ParseInstanceRequest(const std::string& line, InstanceRequest* request) {
    *request = InstanceRequest();
    if (line.size() + 1 > kMaxRequestLine) {
        return false;
    }
    if (line == "raise") {
        return true;
    }
    const std::string verb = "open ";
    if (line.compare(0, verb.size(), verb) != 0) {
        return false;
    }
    request->open = true;
    for (size_t i = verb.size(); i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == '%') {
            const int high = i + 2 < line.size() ? HexValue(line[i + 1]) : -1;
            const int low = high >= 0 ? HexValue(line[i + 2]) : -1;
            if (low < 0) {
                return false;
            }
            request->path += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (NeedsEscape(c)) {
            return false;
        } else {
            request->path += static_cast<char>(c);
        }
    }
    const std::string& path = request->path;
    return !path.empty() && path[0] == '/' && path.size() <= kMaxRequestPath &&
           path.find('\0') == std::string::npos;
}

SingleInstance::SingleInstance(const char* runtimeDir, const char* tmpDir, QObject* parent)
    : QObject(parent) {
    std::string problem;
    if (Set(runtimeDir) && runtimeDir[0] == '/') {
        folderFd_ = OpenPrivateFolder(runtimeDir, &problem);
        folder_ = folderFd_ >= 0 ? runtimeDir : "";
    }
    if (folderFd_ < 0) {
        const std::string base = Set(tmpDir) && tmpDir[0] == '/' ? tmpDir : "/tmp";
        const std::string path = base + "/fotakle-" + std::to_string(getuid());
        // An existing folder is taken only when it passes the same check.
        mkdir(path.c_str(), 0700);
        folderFd_ = OpenPrivateFolder(path, &problem);
        folder_ = folderFd_ >= 0 ? path : "";
        if (folderFd_ < 0) {
            folder_.clear();
            problem_ = "no private folder for the single-instance socket (" + problem + ")";
        }
    }
    // Through the open descriptor the socket is always the one in the
    // checked folder, and its address stays short whatever the folder's
    // path; where /proc is missing the path itself is used if it fits.
    address_.sun_family = AF_UNIX;
    std::string socketPath = "/proc/self/fd/" + std::to_string(folderFd_) + "/" + kSocketName;
    if (access("/proc/self/fd", X_OK) != 0) {
        socketPath = folder_ + "/" + kSocketName;
    }
    if (folderFd_ >= 0 && socketPath.size() >= sizeof address_.sun_path) {
        problem_ = "the single-instance socket's path is too long: " + socketPath;
        close(folderFd_);
        folderFd_ = -1;
        folder_.clear();
    }
    if (folderFd_ >= 0) {
        std::memcpy(address_.sun_path, socketPath.c_str(), socketPath.size() + 1);
    }
}

SingleInstance::~SingleInstance() {
    StopServing();
    if (listenFd_ >= 0) {
        close(listenFd_);
        // Still under the lock: the socket is this copy's own.
        unlinkat(folderFd_, kSocketName, 0);
    }
    if (lockFd_ >= 0) {
        close(lockFd_);
    }
    if (folderFd_ >= 0) {
        close(folderFd_);
    }
}

InstanceClaim SingleInstance::Claim(const InstanceRequest& request, std::string* problem) {
    if (folderFd_ < 0) {
        *problem = problem_;
        return INSTANCE_ALONE;
    }
    lockFd_ = openat(folderFd_, kLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        *problem = "cannot open " + folder_ + "/" + kLockName + ": " + ErrnoText();
        return INSTANCE_ALONE;
    }
    const std::string line = FormatInstanceRequest(request);
    const Clock::time_point deadline = Clock::now() + kClaimBound;
    for (;;) {
        if (flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            if (Listen(problem)) {
                return INSTANCE_FIRST;
            }
            close(lockFd_);
            lockFd_ = -1;
            return INSTANCE_ALONE;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            *problem = "cannot lock " + folder_ + "/" + kLockName + ": " + ErrnoText();
            return INSTANCE_ALONE;
        }
        switch (HandOver(address_, line, deadline)) {
            case HAND_OVER_TAKEN:
                return INSTANCE_HANDED_OVER;
            case HAND_OVER_STRANGER:
                *problem = "the single-instance socket in " + folder_ +
                           " is held by another user; nothing was sent to it";
                return INSTANCE_ALONE;
            case HAND_OVER_NOBODY:
                break;
        }
        if (Clock::now() >= deadline) {
            *problem = "the running copy did not answer";
            return INSTANCE_ALONE;
        }
        const timespec pause = {0, kRetryPauseNs};
        nanosleep(&pause, nullptr);
    }
}

bool SingleInstance::Listen(std::string* problem) {
    // Nobody else holds the lock, so whatever is on the name is left over.
    if (unlinkat(folderFd_, kSocketName, 0) != 0 && errno != ENOENT) {
        *problem = "cannot remove the old single-instance socket: " + ErrnoText();
        return false;
    }
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0 ||
        bind(listenFd_, reinterpret_cast<const sockaddr*>(&address_), sizeof address_) != 0 ||
        listen(listenFd_, kListenBacklog) != 0) {
        *problem = "cannot listen in " + folder_ + ": " + ErrnoText();
        if (listenFd_ >= 0) {
            close(listenFd_);
            listenFd_ = -1;
        }
        return false;
    }
    return true;
}

void SingleInstance::Serve() {
    if (listenFd_ < 0 || notifier_) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(listenFd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SingleInstance::AcceptConnections);
    // Starts that came while the application was being set up wait in the
    // queue already.
    AcceptConnections();
}

void SingleInstance::StopServing() {
    notifier_.reset();
    for (QLocalSocket* socket : findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly)) {
        delete socket;
    }
}

void SingleInstance::AcceptConnections() {
    for (;;) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            return;
        }
        uid_t peer = 0;
        if (!PeerUid(fd, &peer) || peer != getuid()) {
            close(fd);
            continue;
        }
        auto* socket = new QLocalSocket(this);
        if (!socket->setSocketDescriptor(fd)) {
            close(fd);
            delete socket;
            continue;
        }
        // The buffer holds one line at most; a longer one is never read.
        socket->setReadBufferSize(static_cast<qint64>(kMaxRequestLine));
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kConnectionIdleMs, socket, [socket] { socket->abort(); });
        ReadRequest(socket);
    }
}

void SingleInstance::ReadRequest(QLocalSocket* socket) {
    if (socket->state() != QLocalSocket::ConnectedState) {
        return;
    }
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() >= static_cast<qint64>(kMaxRequestLine)) {
            socket->abort();
        }
        return;
    }
    QByteArray line = socket->readLine();
    line.chop(1);
    InstanceRequest request;
    if (!ParseInstanceRequest(line.toStdString(), &request)) {
        socket->abort();
        return;
    }
    // Answered and closed before anything is done, and done from the event
    // loop rather than from inside the socket's signal: opening may ask a
    // question, the later start need not wait for its answer, and the
    // socket may go while the question is up.
    socket->write(kReply);
    socket->disconnectFromServer();
    QTimer::singleShot(0, this, [this, request] {
        emit RaiseRequested();
        if (request.open) {
            emit OpenRequested(request.path);
        }
    });
}
