#include "ServerProbe.h"

#include "ArchiveTexts.h"

#include <QtEndian>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vorn {

namespace {

using Clock = std::chrono::steady_clock;

// What the thread needs, copied out of Qt types: it may outlive everything else.
struct Target {
    std::string host;
    std::string port;
    QByteArray startup;
};

// The protocol's start-up message (version 3.0) for the address's user and database.
QByteArray startupMessage(const ServerAddress &a)
{
    QByteArray body;
    const auto put = [&body](const QByteArray &s) { body += s + '\0'; };
    body.resize(4);
    qToBigEndian<quint32>(3u << 16, body.data());
    put("user");
    put(a.user.toUtf8());
    put("database");
    put(a.database.toUtf8());
    put("application_name");
    put("vorn4");
    body += '\0';
    QByteArray message(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(body.size() + 4), message.data());
    return message + body;
}

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    int fd() const { return fd_; }
    // Waits for `events` until the deadline; false when it passed first.
    bool await(short events, Clock::time_point deadline) const
    {
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return false;
            pollfd p{fd_, events, 0};
            const int n = ::poll(&p, 1, static_cast<int>(left));
            if (n > 0)
                return true;
            if (n < 0 && errno != EINTR)
                return true;   // the read or write that follows says what went wrong
        }
    }

private:
    int fd_;
};

struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

std::vector<Address> addressesOf(const Target &t, std::string *reason)
{
    std::vector<Address> out;
    if (!t.host.empty() && t.host.front() == '/') {   // a socket folder, as the server names its socket
        Address a;
        auto *un = reinterpret_cast<sockaddr_un *>(&a.storage);
        un->sun_family = AF_UNIX;
        const std::string path = t.host + "/.s.PGSQL." + t.port;
        if (path.size() >= sizeof un->sun_path) {
            *reason = std::strerror(ENAMETOOLONG);
            return out;
        }
        std::memcpy(un->sun_path, path.c_str(), path.size() + 1);
        a.length = sizeof(sockaddr_un);
        out.push_back(a);
        return out;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    if (const int e = ::getaddrinfo(t.host.c_str(), t.port.c_str(), &hints, &list); e != 0) {
        *reason = ::gai_strerror(e);
        return out;
    }
    for (const addrinfo *i = list; i; i = i->ai_next) {
        Address a;
        std::memcpy(&a.storage, i->ai_addr, i->ai_addrlen);
        a.length = i->ai_addrlen;
        out.push_back(a);
    }
    ::freeaddrinfo(list);
    return out;
}

// Asks each address in turn until one answers or the deadline passes; tells `answered` the
// moment one does, before taking leave of it.
ServerProbe::Answer ask(const Target &t, Clock::time_point deadline, std::string *reason,
                        const std::function<void()> &answered)
{
    using Answer = ServerProbe::Answer;
    for (const Address &a : addressesOf(t, reason)) {
        Socket s(::socket(a.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (s.fd() < 0) {
            *reason = std::strerror(errno);
            continue;
        }
        if (::connect(s.fd(), reinterpret_cast<const sockaddr *>(&a.storage), a.length) != 0 && errno != EINPROGRESS) {
            *reason = std::strerror(errno);
            continue;
        }
        if (!s.await(POLLOUT, deadline))
            return Answer::Silent;
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            *reason = std::strerror(error);
            continue;
        }
        if (::send(s.fd(), t.startup.constData(), static_cast<size_t>(t.startup.size()), MSG_NOSIGNAL)
            != t.startup.size()) {
            *reason = std::strerror(errno);
            continue;
        }
        if (!s.await(POLLIN, deadline))
            return Answer::Silent;
        char byte = 0;
        const ssize_t got = ::recv(s.fd(), &byte, 1, 0);
        if (got <= 0) {
            *reason = got == 0 ? std::strerror(ECONNRESET) : std::strerror(errno);
            continue;
        }
        answered();
        // Said goodbye the quiet way: the end of our side first, then the rest of what the
        // server sends read away, so the close does not reset the connection under it.
        ::shutdown(s.fd(), SHUT_WR);
        char rest[512];
        const auto drained = std::min(deadline, Clock::now() + std::chrono::seconds(1));
        while (s.await(POLLIN, drained) && ::recv(s.fd(), rest, sizeof rest, 0) > 0) {
        }
        return Answer::Answered;
    }
    return Answer::Unreachable;
}

}  // namespace

struct ServerProbe::State {
    std::mutex mutex;
    std::condition_variable changed;
    Answer answer = Answer::Pending;
    std::string reason;
};

ServerProbe::ServerProbe(const ServerAddress &address, std::chrono::milliseconds patience)
    : state_(std::make_shared<State>())
{
    Target target{address.host.toStdString(), std::to_string(address.port), startupMessage(address)};
    const auto deadline = Clock::now() + patience;
    // Detached: a name lookup cannot be cut short, and nobody should wait for one.
    std::thread([state = state_, target = std::move(target), deadline] {
        const auto tell = [&state](Answer answer, std::string reason) {
            std::lock_guard lock(state->mutex);
            state->answer = answer;
            state->reason = std::move(reason);
            state->changed.notify_all();
        };
        std::string reason;
        const Answer answer = ask(target, deadline, &reason, [&] { tell(Answer::Answered, {}); });
        if (answer != Answer::Answered)
            tell(answer, std::move(reason));
    }).detach();
}

ServerProbe::~ServerProbe() = default;

ServerProbe::Answer ServerProbe::wait(std::chrono::milliseconds wait, const std::function<bool()> &stop)
{
    constexpr auto kSlice = std::chrono::milliseconds(20);
    const auto until = Clock::now() + wait;
    std::unique_lock lock(state_->mutex);
    while (state_->answer == Answer::Pending && Clock::now() < until && !(stop && stop()))
        state_->changed.wait_until(lock, std::min(until, Clock::now() + kSlice));
    return state_->answer;
}

QString ServerProbe::reason() const
{
    std::lock_guard lock(state_->mutex);
    if (state_->answer == Answer::Unreachable && !state_->reason.empty())
        return QString::fromLocal8Bit(state_->reason.c_str());
    return archiveText(ArchiveText::NoAnswer);
}

}  // namespace vorn
