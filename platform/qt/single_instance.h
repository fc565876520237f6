#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <chrono>
#include <functional>

namespace glugmo {

// One pet per user session. The running pet holds a lock file and listens on
// a local socket beside it; a later launch asks it over that socket to come
// back on screen, then leaves.
class SingleInstance final {
public:
    enum class Claim {
        Ours,               // no other pet runs: this process is the pet
        AnsweredElsewhere,  // the running pet was asked to reopen and said so
        NoAnswer,           // a pet holds the lock but does not answer
    };

    // The lock and socket are `name` plus ".lock" and ".socket" in `folder`
    // (see instanceFolder); `reopen` runs for each later launch once claimed.
    SingleInstance(const QString& folder, const QString& name, std::function<void()> reopen);

    // Asks a running pet to reopen, else takes the lock and listens. A pet
    // that is still starting gets up to `patience` to answer, so two launches
    // at once still end with one pet.
    Claim claim(std::chrono::milliseconds patience);

private:
    void listen();
    void serve(QLocalSocket* client);

    bool haveFolder_;
    QString socketPath_;
    QLockFile lock_;
    QLocalServer server_;
    std::function<void()> reopen_;
};

// Where this user's pets keep their locks and sockets: $XDG_RUNTIME_DIR, or
// Qt's private fallback for it; empty when neither is usable.
QString instanceFolder();

}  // namespace glugmo
