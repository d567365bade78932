// The archive from the window, through QSerialPort against vorn4-sim: a Read and a Program
// land in the bench's archive with the tunes the unit held and was given, and the next Read
// names the tune as programmed here.
#include "app/Hlav.h"
#include "archive/ArchiveStore.h"
#include "archive/ui/ArchiveUi.h"
#include "params/TuneHash.h"
#include "sim/UnitModel.h"
#include "support/ScriptedInteraction.h"
#include "support/SimOnCom2.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kLong = 30000;   // ms; the machine may be busy

vorn::ParameterImage imageOf(const std::uint8_t *bytes)
{
    vorn::ParameterImage image;
    std::copy(bytes, bytes + vorn::kImageSize, image.bytes.begin());
    return image;
}

}  // namespace

class ArchiveSimTest : public QObject {
    Q_OBJECT
private slots:
    void readAndProgramAreRecorded();
};

void ArchiveSimTest::readAndProgramAreRecorded()
{
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    const QString dump = dir.filePath("unit.bin");
    QProcess sim;
    const QString device = startSimOnCom2(sim, {"--dump", dump}, dir.path(), kLong);
    QVERIFY(!device.isEmpty());
    {
        QFile ini(dir.filePath("vorn4.ini"));
        QVERIFY(ini.open(QIODevice::Append));
        ini.write("[ARCHIVE]\r\nBench=bench 7\r\nUser=petra\r\n");
    }

    ScriptedInteraction answers;
    auto form = std::make_unique<TFormHlav>();
    form->setUserInteraction(&answers);
    form->FormCreate({});
    QVERIFY(form->Port);
    QLabel *tunePart = form->Archive->tunePart();
    auto idle = [&] { return form->Session.mode() == vorn::ModeIdle && !form->ctl<QWidget>("LabelHlaseni")->isHidden(); };
    QTRY_VERIFY_WITH_TIMEOUT(form->Live.speed > 0, kLong);

    form->action("MenuRead")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idle(), kLong);
    QTRY_COMPARE_WITH_TIMEOUT(tunePart->text(), QStringLiteral("tune not in archive"), kLong);
    const vornsim::Memory factory = vornsim::UnitModel::factoryMemory(40);
    const QString readHash = vorn::tuneHash(imageOf(factory.data()));

    form->Image.advance(4, 6) = 47;
    form->AfterEdit();
    form->ctl<QWidget>("LabelHlaseni")->hide();
    form->action("MenuProgram")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idle(), kLong);
    QCOMPARE(form->ctl<QLabel>("LabelHlaseni")->text(), QStringLiteral("Verify: OK"));

    // Read again: the unit now holds the tune this bench programmed.
    form->ctl<QWidget>("LabelHlaseni")->hide();
    form->action("MenuRead")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idle(), kLong);
    QTRY_VERIFY_WITH_TIMEOUT(tunePart->text().startsWith("as programmed ") && tunePart->text().endsWith(" on bench 7"),
                             kLong);
    // And Verify: the unit holds the window's image, recorded against that tune.
    form->ctl<QWidget>("LabelHlaseni")->hide();
    form->action("MenuVerify")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idle(), kLong);
    QCOMPARE(form->ctl<QLabel>("LabelHlaseni")->text(), QStringLiteral("Verify: OK"));

    sim.terminate();
    QVERIFY(sim.waitForFinished(kLong));
    QFile memoryFile(dump);
    QVERIFY(memoryFile.open(QIODevice::ReadOnly));
    const QByteArray memory = memoryFile.readAll();
    QCOMPARE(memory.size(), vorn::kImageSize);
    const QString programHash = vorn::tuneHash(imageOf(reinterpret_cast<const std::uint8_t *>(memory.constData())));
    QVERIFY(programHash != readHash);
    form.reset();   // the archive writes what it holds before it goes

    vorn::ArchiveStore reader;
    QVERIFY(reader.openLocal(dir.filePath("archive.sqlite")));
    const auto program = reader.history(programHash);
    QVERIFY(program);
    QStringList kinds;
    for (const vorn::ArchiveEvent &e : program->events) {
        kinds << QString::fromLatin1(vorn::eventKindWord(e.kind));
        QCOMPARE(e.bench, QStringLiteral("bench 7"));
        QCOMPARE(e.user, QStringLiteral("petra"));
        QCOMPARE(e.result, QStringLiteral(" OK"));
        QVERIFY(e.unit.version.startsWith("VRN04"));
    }
    QCOMPARE(kinds, (QStringList{"program", "read", "verify"}));
    QCOMPARE(program->ancestors.size(), std::size_t(1));
    QCOMPARE(program->ancestors.front().hash, readHash);
    const auto read = reader.history(readHash);
    QVERIFY(read && read->events.size() == 1);
    QCOMPARE(read->events.front().kind, vorn::EventKind::Read);
}

QTEST_MAIN(ArchiveSimTest)
#include "archive_sim_test.moc"
