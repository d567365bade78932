// File helpers of the tests: whole-file put and get, and ways to make writing files fail.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace filetest {

inline void put(const QString &path, const QByteArray &content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot prepare the test file %s", qPrintable(path));
}

inline QByteArray get(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// While alive, every write beyond `bytes` into a regular file fails with EFBIG, as a disk
// that fills up half-way through a write would fail. Needs no privileges.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);   // else the process is killed
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    bool active() const { return active_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

// A 64 KB tmpfs mounted on a temporary folder, filled to the last byte after the caller
// has put its files there with fill(). Mounting needs root (CAP_SYS_ADMIN); without it
// mounted() is false and reason() says why.
class TinyFullFileSystem {
public:
    TinyFullFileSystem()
    {
        if (geteuid() != 0) {
            reason_ = "mounting a tmpfs needs root";
            return;
        }
        if (mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, "size=64k") != 0) {
            reason_ = QByteArray("cannot mount a tmpfs: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
    }
    ~TinyFullFileSystem()
    {
        if (mounted_)
            umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    const QByteArray &reason() const { return reason_; }
    QString path() const { return dir_.path(); }

    // Takes every free byte, so the next write of any size fails. True when the file
    // system is then full.
    bool fill()
    {
        QFile filler(dir_.filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray chunk(512, 'x');
        while (filler.write(chunk) == chunk.size() && filler.flush()) {
        }
        return filler.error() != QFileDevice::NoError;
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QByteArray reason_;
};

}  // namespace filetest
