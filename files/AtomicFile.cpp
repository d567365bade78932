// Replacing a file atomically: the old file stays until the new one is completely on disk.
#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

#include <unistd.h>

namespace vorn {

AtomicFileWriter::AtomicFileWriter(const QString &path, Folder folder, std::function<void()> beforeRename)
    : path_(path), folder_(folder), beforeRename_(std::move(beforeRename)), file_(path)
{
    // Writing in place would destroy the old file on a failure half-way.
    file_.setDirectWriteFallback(false);
}

bool AtomicFileWriter::open()
{
    if (folder_ == Folder::Create && !QDir().mkpath(QFileInfo(path_).absolutePath()))
        return false;
    // Unbuffered: QSaveFile notices a failed write only when it happens inside write();
    // a buffered write that fails later, at commit, would be renamed into place anyway.
    return file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool AtomicFileWriter::commit(const QByteArray &content)
{
    if (!file_.isOpen())
        return false;
    // Some file systems (network shares, delayed allocation) report a full disk only when
    // the data reaches the disk; commit() syncs too but does not look at the result.
    if (file_.write(content) != content.size() || ::fsync(file_.handle()) != 0) {
        file_.cancelWriting();
        file_.commit();   // discards the temporary file
        return false;
    }
    if (beforeRename_)
        beforeRename_();
    return file_.commit();
}

bool writeFileAtomically(const QString &path, const QByteArray &content)
{
    AtomicFileWriter writer(path);
    return writer.open() && writer.commit(content);
}

}  // namespace vorn
