// Whether the archive server answers at all. The database client library gives a server that
// takes the connection and then says nothing seconds before it gives up, and cannot be cut
// short; so the bench first asks this on a thread of its own, with plain sockets, and waits
// for the answer only as long as it can spare. The question is the opening message of the
// server's protocol; the connection is then closed without a word, which the server does not
// log as an error.
#pragma once

#include "ArchiveConfig.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace vorn {

class ServerProbe {
public:
    enum class Answer {
        Pending,       // not yet
        Answered,      // the server said something
        Silent,        // it took the connection or the address and said nothing in time
        Unreachable,   // refused, no such host, no socket
    };

    // Starts asking at once; the question is given up after `patience`.
    explicit ServerProbe(const ServerAddress &address,
                         std::chrono::milliseconds patience = std::chrono::seconds(3));
    // Does not wait: a question still open ends on its own thread within its patience.
    ~ServerProbe();
    ServerProbe(const ServerProbe &) = delete;
    ServerProbe &operator=(const ServerProbe &) = delete;

    // The answer, after waiting at most `wait` for it; Pending when it has not come. `stop`,
    // asked every few milliseconds, may end the wait sooner.
    Answer wait(std::chrono::milliseconds wait, const std::function<bool()> &stop = {});
    // Why the server did not answer, for a message: the system's reason or "no answer".
    QString reason() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace vorn
