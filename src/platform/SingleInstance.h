// SingleInstance: one running copy per user.
//
// The copies meet in a folder of the user's alone: $XDG_RUNTIME_DIR when it
// is set, absolute, and a folder owned by the user with no group or other
// permissions; else "fotakle-<uid>" in $TMPDIR (or /tmp), made with mode
// 0700 and checked the same way, and not a symbolic link. The checked
// folder stays open, and every later step goes through that descriptor, so
// the folder cannot be swapped behind the check. Where neither folder is
// safe the program runs without the rule.
//
// The file "fotakle.lock" in that folder decides: the copy that holds its
// flock is the one instance for its whole life, and listens on
// "fotakle.socket" there (a socket left behind by a copy that died is
// removed first, which the lock makes safe). Every other copy connects,
// checks that the listener runs as the same user (SO_PEERCRED) before it
// sends anything, and hands its request over: it retries while the first
// copy is still starting, and takes the lock itself should that copy end
// meanwhile.
//
// The protocol: the later start writes one line, at most kMaxRequestLine
// bytes with its "\n":
//   raise        bring the window to the front
//   open PATH    the same, then open the picture at the absolute PATH, in
//                which "%", the control bytes and DEL are written as %XX
// The running copy answers "ok\n" once it took the request and closes the
// connection. Anything else, or a peer of another user, is dropped
// unanswered.
#pragma once

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

#include <sys/un.h>

class QLocalSocket;
class QSocketNotifier;

constexpr size_t kMaxRequestPath = 4096;
constexpr size_t kMaxRequestLine = 16384;

// What a later start asks of the running copy.
struct InstanceRequest {
    bool open = false;  // false: raise the window only
    std::string path;   // open: an absolute path, no NUL, at most kMaxRequestPath bytes
};

// The request as one line, with its "\n".
std::string FormatInstanceRequest(const InstanceRequest& request);
// Reads one line without its "\n". False for anything that is not a well
// formed request; *request is then unspecified.
bool ParseInstanceRequest(const std::string& line, InstanceRequest* request);

enum InstanceClaim : int16_t {
    INSTANCE_FIRST,        // this copy holds the lock and listens
    INSTANCE_HANDED_OVER,  // a running copy of this user took the request
    INSTANCE_ALONE,        // the rule cannot be kept; the problem says why
};

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // Finds and checks the folder from the values of XDG_RUNTIME_DIR and
    // TMPDIR (null or empty: unset).
    SingleInstance(const char* runtimeDir, const char* tmpDir, QObject* parent = nullptr);
    // The first copy stops listening, removes its socket and lets the lock go.
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The checked folder; empty when none was safe.
    const std::string& Folder() const { return folder_; }

    // Decides which copy is the one instance, handing request over when it
    // is another. INSTANCE_ALONE comes with *problem, one line. Plain system
    // calls only: it runs before the application object exists, and waits
    // at most about half a minute for a copy that holds the lock to answer.
    InstanceClaim Claim(const InstanceRequest& request, std::string* problem);
    // After INSTANCE_FIRST, once the application object exists: takes later
    // starts' requests in the event loop.
    void Serve();
    // Stops taking requests while the application object still exists; the
    // socket stays until this object goes.
    void StopServing();

  signals:
    // A later start asked for the window.
    void RaiseRequested();
    // A later start asked for this picture to be opened (after the raise).
    void OpenRequested(const std::string& path);

  private:
    bool Listen(std::string* problem);
    void AcceptConnections();
    void ReadRequest(QLocalSocket* socket);

    std::string folder_;
    // Why there is no folder, or no usable socket address in it.
    std::string problem_;
    int folderFd_ = -1;
    int lockFd_ = -1;
    int listenFd_ = -1;
    sockaddr_un address_{};
    std::unique_ptr<QSocketNotifier> notifier_;
};
