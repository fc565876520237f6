#include "platform/qt/single_instance.h"

#include "platform/posix/file_descriptor.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace glugmo {

namespace {

constexpr std::string_view kReopen = "reopen\n";
constexpr std::string_view kDone = "ok\n";
// Long enough for a busy pet to reach its event loop, short enough that a
// launch from the desktop never seems to hang.
constexpr int kAnswerMs = 1500;
constexpr unsigned long kRetryMs = 100;
// A caller says one short line; more than this is not one of ours.
constexpr std::size_t kLongestLine = 64;

// The socket's address, or nothing when the path does not fit in one.
std::optional<sockaddr_un> addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return std::nullopt;
    std::memcpy(address.sun_path, path.data(), path.size());
    return address;
}

// Waits for `events` on `fd` until `deadline`; false once it has passed.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    pollfd watched{fd, events, 0};
    while (true) {
        const int result = ::poll(&watched, 1, int(deadline.remainingTime()));
        if (result > 0) return true;
        if (result == 0 || errno != EINTR) return false;
    }
}

// True once a pet listening on `socketPath` confirms it came back.
bool askToReopen(const std::string& socketPath) {
    const std::optional<sockaddr_un> address = addressOf(socketPath);
    if (!address) return false;
    const FileDescriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
    if (socket.get() < 0) return false;
    const QDeadlineTimer deadline(kAnswerMs);
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        // A listener whose queue is full: wait for room as QLocalSocket did.
        if (errno != EAGAIN && errno != EINPROGRESS) return false;
        int error = 0;
        socklen_t size = sizeof error;
        if (!waitFor(socket.get(), POLLOUT, deadline) ||
            ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
            return false;
    }
    if (::send(socket.get(), kReopen.data(), kReopen.size(), MSG_NOSIGNAL) != ssize_t(kReopen.size()))
        return false;
    std::string answer;
    while (answer.find('\n') == std::string::npos && answer.size() < kLongestLine) {
        char chunk[kLongestLine];
        const ssize_t got = ::recv(socket.get(), chunk, sizeof chunk, 0);
        if (got > 0) {
            answer.append(chunk, std::size_t(got));
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR) ||
                   (errno == EAGAIN && !waitFor(socket.get(), POLLIN, deadline))) {
            return false;
        }
    }
    return answer == kDone;
}

}  // namespace

// A later launch connected to us, and what it has said so far.
struct SingleInstance::Caller {
    FileDescriptor socket;
    QSocketNotifier readable;
    std::string said;
    explicit Caller(int fd) : socket{fd}, readable(fd, QSocketNotifier::Read) {}
};

SingleInstance::SingleInstance(const QString& folder, const QString& name,
                               std::function<void()> reopen)
    : haveFolder_(!folder.isEmpty()),
      socketPath_(
          QFile::encodeName(QDir(folder).filePath(name + QStringLiteral(".socket"))).toStdString()),
      lock_(QDir(folder).filePath(name + QStringLiteral(".lock"))),
      reopen_(std::move(reopen)) {
    // The lock is held for the pet's whole life; it only goes stale when its
    // owner has died, never from age.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    callers_.clear();
    incoming_.reset();
    if (listener_ < 0) return;
    ::close(listener_);
    ::unlink(socketPath_.c_str());
}

SingleInstance::Claim SingleInstance::claim(std::chrono::milliseconds patience) {
    if (!haveFolder_) {
        // Qt has said why it has no runtime folder. Better a pet that cannot
        // hear later launches than none at all.
        std::fputs("glugmo: a second launch will start a second pet\n", stderr);
        return Claim::Ours;
    }
    const QDeadlineTimer deadline(patience);
    while (true) {
        if (askToReopen(socketPath_)) return Claim::AnsweredElsewhere;
        if (lock_.tryLock(0)) {
            listen();
            return Claim::Ours;
        }
        if (lock_.error() != QLockFile::LockFailedError) {
            std::fprintf(stderr,
                         "glugmo: cannot create %s; a second launch will start a second pet\n",
                         qPrintable(lock_.fileName()));
            return Claim::Ours;
        }
        if (deadline.hasExpired()) return Claim::NoAnswer;
        QThread::msleep(kRetryMs);
    }
}

void SingleInstance::listen() {
    const auto fail = [this](const char* why) {
        std::fprintf(stderr, "glugmo: cannot listen on %s: %s\n", socketPath_.c_str(), why);
        if (listener_ >= 0) ::close(listener_);
        listener_ = -1;
    };
    const std::optional<sockaddr_un> address = addressOf(socketPath_);
    if (!address) return fail("the path is too long for a socket");
    // Holding the lock means no pet listens: a socket left behind is stale.
    ::unlink(socketPath_.c_str());
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0) return fail(std::strerror(errno));
    // Only this user may connect, whatever the folder allows. The mode is
    // set on the path, not through the umask: that is process-wide, and Qt's
    // other threads may be creating files meanwhile.
    if (::bind(listener_, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::chmod(socketPath_.c_str(), 0600) != 0 || ::listen(listener_, 8) != 0)
        return fail(std::strerror(errno));
    incoming_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(incoming_.get(), &QSocketNotifier::activated, [this] { accept(); });
}

void SingleInstance::accept() {
    while (true) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        Caller& caller = callers_.emplace_back(fd);
        QObject::connect(&caller.readable, &QSocketNotifier::activated,
                         [this, &caller] { serve(caller); });
    }
}

void SingleInstance::serve(Caller& caller) {
    char chunk[kLongestLine];
    ssize_t got;
    while ((got = ::recv(caller.socket.get(), chunk, sizeof chunk, 0)) > 0)
        caller.said.append(chunk, std::size_t(got));
    const bool gone = got == 0 || (errno != EAGAIN && errno != EINTR);
    for (std::size_t end; (end = caller.said.find('\n')) != std::string::npos;) {
        const bool asked = std::string_view(caller.said).substr(0, end + 1) == kReopen;
        caller.said.erase(0, end + 1);
        if (!asked) continue;
        ::send(caller.socket.get(), kDone.data(), kDone.size(), MSG_NOSIGNAL);
        reopen_();
    }
    if (!gone && caller.said.size() <= kLongestLine) return;
    // Done with this caller. Its notifier is the one calling us, so it goes
    // once control is back in the event loop.
    caller.readable.setEnabled(false);
    QObject::disconnect(&caller.readable, nullptr, nullptr, nullptr);
    for (auto it = callers_.begin(); it != callers_.end(); ++it) {
        if (&*it != &caller) continue;
        QTimer::singleShot(0, incoming_.get(), [this, it] { callers_.erase(it); });
        break;
    }
}

QString instanceFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

}  // namespace glugmo
