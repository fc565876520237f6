#include "platform/qt/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <cstdio>

namespace glugmo {

namespace {

constexpr char kReopen[] = "reopen\n";
constexpr char kDone[] = "ok\n";
// Long enough for a busy pet to reach its event loop, short enough that a
// launch from the desktop never seems to hang.
constexpr int kAnswerMs = 1500;
constexpr unsigned long kRetryMs = 100;

// True once a pet listening on `socketPath` confirms it came back.
bool askToReopen(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kAnswerMs)) return false;
    socket.write(kReopen);
    QDeadlineTimer deadline(kAnswerMs);
    if (!socket.waitForBytesWritten(kAnswerMs)) return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine() == kDone;
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder, const QString& name,
                               std::function<void()> reopen)
    : haveFolder_(!folder.isEmpty()),
      socketPath_(QDir(folder).filePath(name + QStringLiteral(".socket"))),
      lock_(QDir(folder).filePath(name + QStringLiteral(".lock"))),
      reopen_(std::move(reopen)) {
    // The lock is held for the pet's whole life; it only goes stale when its
    // owner has died, never from age.
    lock_.setStaleLockTime(0);
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* client = server_.nextPendingConnection()) serve(client);
    });
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
    // Holding the lock means no pet listens: a socket left behind is stale.
    QLocalServer::removeServer(socketPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(socketPath_)) {
        std::fprintf(stderr, "glugmo: cannot listen on %s: %s\n", qPrintable(socketPath_),
                     qPrintable(server_.errorString()));
    }
}

void SingleInstance::serve(QLocalSocket* client) {
    QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
        while (client->canReadLine()) {
            if (client->readLine() != kReopen) continue;
            client->write(kDone);
            client->flush();
            reopen_();
        }
    });
}

QString instanceFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

}  // namespace glugmo
