// Restore points: names, same-second suffixes, skipping unchanged "before" points, the
// identification index, bounding to the newest points, and a folder that cannot be written.
#include "files/IgnFile.h"
#include "history/RestorePoints.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using vorn::RestoreEvent;

Q_DECLARE_METATYPE(RestoreEvent)

class RestorePointsTest : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void writes();
    void boundedToTheNewest();
    void unwritableFolderCostsOnlyThePoint();
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
    QCOMPARE(names, (QStringList{"2026-12-08_12-00-01_before-new.ign", "2026-12-08_12-00-00_programmed-3.ign",
                                 "2026-12-08_12-00-00_before-open-2.ign", "2026-12-08_12-00-00_read.ign"}));
    QCOMPARE(units, (QStringList{"", "VRN04 12. 3.2024 14:30", "", "VRN04 12. 3.2024 14:30"}));
    // The index sits beside the points and is not a parameter file.
    QVERIFY(QFile::exists(QDir(folder).filePath(vorn::kRestoreIndexFileName)));

    // A second store on the same folder (the next program run) continues the suffixes.
    vorn::RestorePointStore again(folder);
    const auto r = again.write(b, RestoreEvent::BeforeRead, t.addSecs(1));
    QCOMPARE(QFileInfo(r.path).fileName(), QString("2026-12-08_12-00-01_before-read-2.ign"));
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

void RestorePointsTest::unwritableFolderCostsOnlyThePoint()
{
    QTemporaryDir dir;
    // A file where the folder should be: neither the folder nor a point can be made.
    QFile blocker(dir.filePath("history"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    vorn::RestorePointStore store(dir.filePath("history"));
    const auto r = store.write(vorn::ParameterImage{}, RestoreEvent::Read, QDateTime::currentDateTime());
    QVERIFY(!r.written);
    QVERIFY(r.path.isEmpty());
    QVERIFY(r.error.contains(dir.filePath("history")));
    QVERIFY(vorn::listRestorePoints(dir.filePath("history")).empty());
}

QTEST_GUILESS_MAIN(RestorePointsTest)
#include "restorepoints_test.moc"
