// Replacing a file atomically: the old file stays until the new one is completely on disk.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <functional>

namespace vorn {

// Writes a whole file through a temporary beside it and renames it over the target only
// after every byte was written and synced. A failure at any point (no folder, no space,
// a lost share) reports false and leaves the previous file as it was; there is never a
// fallback to writing the target in place.
class AtomicFileWriter {
public:
    enum class Folder { Create, MustExist };
    // `beforeRename` runs once the content is written and synced, just before the rename:
    // the moment a crash must leave the old file whole (a test kills its process there).
    explicit AtomicFileWriter(const QString &path, Folder folder = Folder::Create,
                              std::function<void()> beforeRename = {});

    // Creates the folder (when asked to) and the temporary file. False when either fails.
    bool open();
    // Writes the content, syncs and renames. False when anything fails; the temporary
    // file is then discarded and the target untouched.
    bool commit(const QByteArray &content);

private:
    QString path_;
    Folder folder_;
    std::function<void()> beforeRename_;
    QSaveFile file_;
};

// open() and commit() in one step.
bool writeFileAtomically(const QString &path, const QByteArray &content);

}  // namespace vorn
