// Replacing a file atomically: the old file stays until the new one is completely on disk.
#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>

namespace vorn {

std::function<void()> beforeAtomicCommitHook;

AtomicFileWriter::AtomicFileWriter(const QString &path) : path_(path), file_(path)
{
    // Writing in place would destroy the old file on a failure half-way.
    file_.setDirectWriteFallback(false);
}

bool AtomicFileWriter::open()
{
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    return file_.open(QIODevice::WriteOnly);
}

bool AtomicFileWriter::commit(const QByteArray &content)
{
    if (!file_.isOpen())
        return false;
    if (file_.write(content) != content.size()) {
        file_.cancelWriting();
        file_.commit();   // discards the temporary file
        return false;
    }
    if (beforeAtomicCommitHook)
        beforeAtomicCommitHook();
    // commit() flushes, syncs and renames; a full disk often shows only here.
    return file_.commit();
}

bool writeFileAtomically(const QString &path, const QByteArray &content)
{
    AtomicFileWriter writer(path);
    return writer.open() && writer.commit(content);
}

}  // namespace vorn
