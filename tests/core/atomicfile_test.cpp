// Replacing files atomically: a failure or a crash at any moment leaves the old file whole.
#include "FileFailures.h"
#include "files/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/wait.h>

namespace {

const QByteArray kOld = "the previous good content\r\n";

void put(const QString &path, const QByteArray &content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot prepare the test file");
}

QByteArray get(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

}  // namespace

class AtomicFileTest : public QObject {
    Q_OBJECT
private slots:
    void replacesAndCreatesFolders();
    void writeErrorKeepsOldFile();
    void fullFileSystemKeepsOldFile();
    void unwritableFolderKeepsOldFile();
    void missingFolderFailsWhenNotToBeCreated();
    void crashBeforeRenameKeepsOldFile();
};

void AtomicFileTest::replacesAndCreatesFolders()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("a.ign");
    put(existing, kOld);
    QVERIFY(vorn::writeFileAtomically(existing, "new"));
    QCOMPARE(get(existing), QByteArray("new"));
    const QString deep = dir.filePath("x/y/z.ini");
    QVERIFY(vorn::writeFileAtomically(deep, "deep"));
    QCOMPARE(get(deep), QByteArray("deep"));
    QCOMPARE(entries(dir.path()), QStringList{"a.ign"});   // no temporary left behind
}

void AtomicFileTest::writeErrorKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ign");
    put(path, kOld);
    bool written = true;
    {
        filefailures::FileSizeLimit limit(100);
        QVERIFY(limit.active());
        written = vorn::writeFileAtomically(path, QByteArray(5000, 'n'));
    }
    QVERIFY(!written);
    QCOMPARE(get(path), kOld);
    QCOMPARE(entries(dir.path()), QStringList{"a.ign"});
}

void AtomicFileTest::fullFileSystemKeepsOldFile()
{
    filefailures::TinyFullFileSystem fs;
    if (!fs.mounted())
        QSKIP(fs.reason().constData());
    const QString path = fs.path() + "/a.ign";
    put(path, kOld);
    QVERIFY(fs.fill());
    QVERIFY(!vorn::writeFileAtomically(path, QByteArray(2000, 'n')));
    QCOMPARE(get(path), kOld);
}

void AtomicFileTest::unwritableFolderKeepsOldFile()
{
    if (geteuid() == 0)
        QSKIP("root writes into read-only folders, so permissions cannot make this fail");
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ign");
    put(path, kOld);
    QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
    const bool written = vorn::writeFileAtomically(path, "new");
    chmod(QFile::encodeName(dir.path()).constData(), 0755);
    QVERIFY(!written);
    QCOMPARE(get(path), kOld);
}

void AtomicFileTest::missingFolderFailsWhenNotToBeCreated()
{
    QTemporaryDir dir;
    vorn::AtomicFileWriter writer(dir.filePath("nowhere/a.ign"), vorn::AtomicFileWriter::Folder::MustExist);
    QVERIFY(!writer.open());
    QVERIFY(!QFileInfo::exists(dir.filePath("nowhere")));
}

void AtomicFileTest::crashBeforeRenameKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("vorn4.ini");
    put(path, kOld);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // The child dies the hard way once the new content is written but not yet renamed.
        vorn::beforeAtomicCommitHook = [] { raise(SIGKILL); };
        vorn::writeFileAtomically(path, QByteArray(100000, 'n'));
        _exit(0);   // reached only if the hook did not run
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), SIGKILL);
    QCOMPARE(get(path), kOld);
}

QTEST_GUILESS_MAIN(AtomicFileTest)
#include "atomicfile_test.moc"
