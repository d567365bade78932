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
    explicit AtomicFileWriter(const QString &path, Folder folder = Folder::Create);

    // Creates the folder (when asked to) and the temporary file. False when either fails.
    bool open();
    // Writes the content, syncs and renames. False when anything fails; the temporary
    // file is then discarded and the target untouched.
    bool commit(const QByteArray &content);

private:
    QString path_;
    Folder folder_;
    QSaveFile file_;
};

// open() and commit() in one step.
bool writeFileAtomically(const QString &path, const QByteArray &content);

// Runs after the content is written and before the rename, when set. Lets a test stand for
// a crash or a kill at the worst moment (e.g. by killing its own process).
extern std::function<void()> beforeAtomicCommitHook;

}  // namespace vorn
