// Restore points: names, same-second suffixes, skipping unchanged "before" points, the
// identification index, bounding to the newest points, and folders and disks that cannot
// take a point.
#include "files/IgnFile.h"
#include "history/RestorePoints.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using vorn::RestoreEvent;

Q_DECLARE_METATYPE(RestoreEvent)

class RestorePointsTest : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void writes();
    void boundedToTheNewest();
    void aPointThatCannotBeWrittenIsLostAndSaidOnce();
};

void RestorePointsTest::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<RestoreEvent>("event");
    QTest::addColumn<int>("suffix");
    QTest::newRow("read") << "2026-12-08_09-05-07_read.ign" << true << RestoreEvent::Read << 1;
    QTest::newRow("dashed event") << "2026-12-08_09-05-07_before-read.ign" << true << RestoreEvent::BeforeRead << 1;
    QTest::newRow("dashed event, suffix") << "2026-12-08_09-05-07_before-model-3.ign" << true
                                          << RestoreEvent::BeforeModel << 3;
    QTest::newRow("programmed, suffix") << "2026-12-08_09-05-07_programmed-2.ign" << true
                                        << RestoreEvent::Programmed << 2;
    QTest::newRow("unknown event") << "2026-12-08_09-05-07_saved.ign" << false << RestoreEvent::Read << 0;
    QTest::newRow("suffix 1 is never written") << "2026-12-08_09-05-07_read-1.ign" << false << RestoreEvent::Read << 0;
    QTest::newRow("no time") << "map_read.ign" << false << RestoreEvent::Read << 0;
    QTest::newRow("impossible time") << "2026-13-08_09-05-07_read.ign" << false << RestoreEvent::Read << 0;
}

void RestorePointsTest::names()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QFETCH(RestoreEvent, event);
    QFETCH(int, suffix);
    const auto p = vorn::parseRestorePointFileName(name);
    QCOMPARE(p.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(p->event, event);
    QCOMPARE(p->suffix, suffix);
    QCOMPARE(p->time, QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7)));
    QCOMPARE(vorn::restorePointFileName(p->time, event, suffix), name);
}

void RestorePointsTest::writes()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("history");   // made on the first write
    vorn::RestorePointStore store(folder);
    const QDateTime t(QDate(2026, 12, 8), QTime(12, 0, 0));
    vorn::ParameterImage a;
    a.limiter2() = 110;
    vorn::ParameterImage b = a;
    b.limiter2() = 120;
    b[0] = 'Z';   // block 0 is not in a parameter file and makes no difference

    struct Row {
        const vorn::ParameterImage &image;
        RestoreEvent event;
        int second;
        QString unit;
        const char *expected;   // file name, or nullptr when the point is skipped
    };
    const Row rows[] = {
        {a, RestoreEvent::Read, 0, "VRN04 12. 3.2024 14:30", "2026-12-08_12-00-00_read.ign"},
        {a, RestoreEvent::BeforeOpen, 0, {}, nullptr},   // equal to the newest point
        {b, RestoreEvent::BeforeOpen, 0, {}, "2026-12-08_12-00-00_before-open-2.ign"},
        {b, RestoreEvent::Programmed, 0, "VRN04 12. 3.2024 14:30", "2026-12-08_12-00-00_programmed-3.ign"},
        {a, RestoreEvent::BeforeNew, 1, {}, "2026-12-08_12-00-01_before-new.ign"},
        // A unit's free text may hold a line break; the index keeps it on the point's line.
        {a, RestoreEvent::Read, 2, "FREE\nTEXT", "2026-12-08_12-00-02_read.ign"},
    };
    for (const Row &row : rows) {
        const auto r = store.write(row.image, row.event, t.addSecs(row.second), row.unit);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.written, row.expected != nullptr);
        QCOMPARE(r.skipped, row.expected == nullptr);
        if (!row.expected)
            continue;
        QCOMPARE(QFileInfo(r.path).fileName(), QString(row.expected));
        // Open reads it back to the same parameters.
        vorn::ParameterImage back;
        QVERIFY(vorn::loadRestorePoint(r.path, back));
        QCOMPARE(int(back.limiter2()), int(row.image[vorn::Off::Limiter2]));
    }

    const auto listed = vorn::listRestorePoints(folder);
    QStringList names, units;
    for (const auto &p : listed) {
        names << p.fileName;
        units << p.unit;
    }
    QCOMPARE(names, (QStringList{"2026-12-08_12-00-02_read.ign", "2026-12-08_12-00-01_before-new.ign",
                                 "2026-12-08_12-00-00_programmed-3.ign", "2026-12-08_12-00-00_before-open-2.ign",
                                 "2026-12-08_12-00-00_read.ign"}));
    QCOMPARE(units, (QStringList{"FREE TEXT", "", "VRN04 12. 3.2024 14:30", "", "VRN04 12. 3.2024 14:30"}));
    // The index sits beside the points and is not a parameter file.
    QVERIFY(QFile::exists(QDir(folder).filePath(vorn::kRestoreIndexFileName)));

    // A second store on the same folder (the next program run) continues the suffixes.
    vorn::RestorePointStore again(folder);
    const auto r = again.write(b, RestoreEvent::BeforeRead, t.addSecs(1));
    QCOMPARE(QFileInfo(r.path).fileName(), QString("2026-12-08_12-00-01_before-read-2.ign"));

    // An index whose last line lost its line end (a torn write, a hand edit): the next
    // point's line does not join it.
    QFile index(QDir(folder).filePath(vorn::kRestoreIndexFileName));
    QVERIFY(index.open(QIODevice::Append) && index.write("2026-12-08_12-00-09_read.ign\tcut sh") > 0);
    index.close();
    QVERIFY(again.write(a, RestoreEvent::Read, t.addSecs(3), "NEXT").written);
    QCOMPARE(vorn::listRestorePoints(folder).front().unit, QString("NEXT"));
}

void RestorePointsTest::boundedToTheNewest()
{
    QTemporaryDir dir;
    vorn::RestorePointStore store(dir.path(), 3);
    const QDateTime t(QDate(2026, 1, 2), QTime(3, 4, 5));
    for (int i = 0; i < 5; ++i) {
        vorn::ParameterImage img;
        img.limiter2() = static_cast<std::uint8_t>(100 + i);
        QVERIFY(store.write(img, RestoreEvent::Read, t.addSecs(i), QString("unit %1").arg(i)).written);
    }
    QStringList names, units;
    for (const auto &p : vorn::listRestorePoints(dir.path())) {
        names << p.fileName;
        units << p.unit;
    }
    QCOMPARE(names, (QStringList{"2026-01-02_03-04-09_read.ign", "2026-01-02_03-04-08_read.ign",
                                 "2026-01-02_03-04-07_read.ign"}));
    QCOMPARE(units, (QStringList{"unit 4", "unit 3", "unit 2"}));
    QFile index(QDir(dir.path()).filePath(vorn::kRestoreIndexFileName));
    QVERIFY(index.open(QIODevice::ReadOnly));
    QCOMPARE(index.readAll().count('\n'), 3);
}

void RestorePointsTest::aPointThatCannotBeWrittenIsLostAndSaidOnce()
{
    // Root ignores file modes, so the read-only folder only counts for other users; the
    // other ways fail for root too. A file size limit stands for a full disk: the write
    // stops part-way as it does when the disk fills up.
    enum class Way { FolderIsAFile, ParentIsAFile, ReadOnlyFolder, DiskFull };
    const struct {
        const char *name;
        Way way;
    } rows[] = {
        {"folder is a file", Way::FolderIsAFile},
        {"parent is a file", Way::ParentIsAFile},
        {"read-only folder", Way::ReadOnlyFolder},
        {"disk full", Way::DiskFull},
    };
    std::signal(SIGXFSZ, SIG_IGN);   // a write past the limit then fails instead of killing us
    rlimit original{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &original) == 0);
    const QDateTime t(QDate(2026, 12, 8), QTime(12, 0, 0));
    for (const auto &row : rows) {
        if (row.way == Way::ReadOnlyFolder && geteuid() == 0) {
            qInfo("%s: skipped as root", row.name);
            continue;
        }
        QTemporaryDir dir;
        QString folder = dir.filePath("history");
        vorn::RestorePointStore store(row.way == Way::ParentIsAFile ? dir.filePath("history/points") : folder);
        vorn::ParameterImage img;
        if (row.way == Way::FolderIsAFile || row.way == Way::ParentIsAFile) {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            // A point already there: the failing write must leave it and nothing beside it.
            QVERIFY(store.write(img, RestoreEvent::Read, t, "VRN04").written);
        }
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        auto fail = [&] {
            if (row.way == Way::ReadOnlyFolder)
                QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (row.way == Way::DiskFull) {
                rlimit tiny = original;
                tiny.rlim_cur = 512;   // a point is about 1.6 kB
                setrlimit(RLIMIT_FSIZE, &tiny);
            }
        };
        auto heal = [&] {
            setrlimit(RLIMIT_FSIZE, &original);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        };
        fail();
        std::vector<vorn::RestorePointStore::Result> results;
        for (int i = 1; i <= 3; ++i) {
            img.limiter2() = static_cast<std::uint8_t>(100 + i);
            results.push_back(store.write(img, i == 3 ? RestoreEvent::Read : RestoreEvent::BeforeOpen, t.addSecs(i),
                                          "VRN04"));
        }
        heal();
        const QStringList after = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (std::size_t i = 0; i < results.size(); ++i) {
            QVERIFY2(!results[i].written && results[i].path.isEmpty(), row.name);
            QVERIFY2(!results[i].error.isEmpty(), row.name);
            QCOMPARE(results[i].reportFailure, i == 0);   // said once, not for every point lost
        }
        QVERIFY2(after == before, qPrintable(QString(row.name) + ": " + after.join(' ')));   // nothing half-written

        // Once the disk takes points again, the next failure is said again.
        if (row.way == Way::ReadOnlyFolder || row.way == Way::DiskFull) {
            QVERIFY(store.write(img, RestoreEvent::Read, t.addSecs(10)).written);
            fail();
            img.limiter2() = 99;
            const auto again = store.write(img, RestoreEvent::Read, t.addSecs(11));
            heal();
            QVERIFY(!again.written && again.reportFailure);
        }
    }
}

QTEST_GUILESS_MAIN(RestorePointsTest)
#include "restorepoints_test.moc"
