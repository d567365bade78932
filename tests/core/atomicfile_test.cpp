// Replacing files atomically: a failed write or a crash before the rename keeps the old file.
#include "FileTestSupport.h"
#include "files/AtomicFile.h"

#include <QDir>
#include <QtTest>

#include <sys/wait.h>

using filetest::get;
using filetest::put;

class AtomicFileTest : public QObject {
    Q_OBJECT
private slots:
    void replacesAndCreatesFolders();
    void writeErrorKeepsOldFile();
    void crashBeforeRenameKeepsOldFile();
};

void AtomicFileTest::replacesAndCreatesFolders()
{
    QTemporaryDir dir;
    put(dir.filePath("a.ign"), "old");
    QVERIFY(vorn::writeFileAtomically(dir.filePath("a.ign"), "new"));
    QVERIFY(vorn::writeFileAtomically(dir.filePath("x/y/z.ini"), "deep"));
    QCOMPARE(get(dir.filePath("a.ign")), QByteArray("new"));
    QCOMPARE(get(dir.filePath("x/y/z.ini")), QByteArray("deep"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.ign"});   // no temporary left
}

void AtomicFileTest::writeErrorKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ign");
    put(path, "old");
    bool written = true;
    {
        filetest::FileSizeLimit limit(100);   // fails after 100 bytes, like a disk running full
        QVERIFY(limit.active());
        written = vorn::writeFileAtomically(path, QByteArray(5000, 'n'));
    }
    QVERIFY(!written);
    QCOMPARE(get(path), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.ign"});
}

void AtomicFileTest::crashBeforeRenameKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("vorn4.ini");
    put(path, "old");
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // The child is killed once the new content is written but not yet renamed.
        vorn::AtomicFileWriter writer(path, vorn::AtomicFileWriter::Folder::Create, [] { raise(SIGKILL); });
        if (writer.open())
            writer.commit(QByteArray(100000, 'n'));
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    QCOMPARE(get(path), QByteArray("old"));
}

QTEST_GUILESS_MAIN(AtomicFileTest)
#include "atomicfile_test.moc"
