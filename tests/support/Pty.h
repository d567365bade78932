// A pseudo-terminal pair for tests: the slave path is a real character device this user owns.
#pragma once

#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

struct Pty {
    int master = -1;
    QString slave;
    Pty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(ptsname(master));
    }
    ~Pty()
    {
        if (master >= 0)
            ::close(master);
    }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;
};
