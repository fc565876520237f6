#pragma once

#include <QLockFile>
#include <QString>
#include <chrono>
#include <functional>
#include <list>
#include <memory>
#include <string>

class QSocketNotifier;

namespace glugmo {

// One pet per user session. The running pet holds a lock file and listens on
// a Unix socket beside it; a later launch asks it over that socket to come
// back on screen, then leaves. Plain sockets rather than QtNetwork: a whole
// library (and the Kerberos and proxy ones it pulls in) for one line each way
// costs more memory than the rest of the pet's logic.
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
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Asks a running pet to reopen, else takes the lock and listens. A pet
    // that is still starting gets up to `patience` to answer, so two launches
    // at once still end with one pet.
    Claim claim(std::chrono::milliseconds patience);

private:
    struct Caller;
    void listen();
    void accept();
    void serve(Caller& caller);

    bool haveFolder_;
    std::string socketPath_;
    QLockFile lock_;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> incoming_;
    std::list<Caller> callers_;
    std::function<void()> reopen_;
};

// Where this user's pets keep their locks and sockets: $XDG_RUNTIME_DIR, or
// Qt's private fallback for it; empty when neither is usable.
QString instanceFolder();

}  // namespace glugmo
