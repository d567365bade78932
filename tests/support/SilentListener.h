// A server that takes the connection and never says a word: a socket listening on a free
// port of 127.0.0.1 that nobody reads. The kernel completes each connection into the
// listen queue, so a client sees it accepted and then waits for an answer that never comes.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vorn::test {

class SilentListener {
public:
    SilentListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(fd_, 64) != 0
            || ::getsockname(fd_, reinterpret_cast<sockaddr *>(&a), &length) != 0)
            return;
        port_ = ntohs(a.sin_port);
    }
    ~SilentListener()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    int port() const { return port_; }   // 0 when it could not listen

private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace vorn::test
