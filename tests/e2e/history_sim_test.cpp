// Restore points and the comparison with the unit, through QSerialPort against vorn4-sim:
// Read, edit, compare, Program, and what the points and the unit's memory then hold.
#include "app/Hlav.h"
#include "files/IgnFile.h"
#include "history/RestorePoints.h"
#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/CompareUi.h"
#include "history/ui/RestorePointsUi.h"
#include "history/ui/ChangeTrackingUi.h"
#include "history/ui/CompareView.h"
#include "sim/UnitModel.h"
#include "support/ScriptedInteraction.h"
#include "support/SimOnCom2.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kLong = 30000;   // ms; the machine may be busy

bool sameFileBytes(const vorn::ParameterImage &a, const std::uint8_t *b)
{
    const auto mask = vorn::ParameterFileBytes();
    for (int o = 0; o < vorn::kImageSize; ++o)
        if (mask.test(o) && a[o] != b[o])
            return false;
    return true;
}

}  // namespace

class HistorySimTest : public QObject {
    Q_OBJECT
private slots:
    void readEditCompareProgramLeavesMatchingPoints();
};

void HistorySimTest::readEditCompareProgramLeavesMatchingPoints()
{
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    const QString dump = dir.filePath("unit.bin");
    QProcess sim;
    const QString device = startSimOnCom2(sim, {"--dump", dump}, dir.path(), kLong);
    QVERIFY(!device.isEmpty());

    ScriptedInteraction answers;
    auto form = std::make_unique<TFormHlav>();
    form->setUserInteraction(&answers);
    form->FormCreate({});
    QVERIFY(form->Port);
    ChangeHistoryUi &history = ChangeHistoryUi::of(form->History);
    auto idle = [&] { return form->Session.mode() == vorn::ModeIdle && !form->ctl<QWidget>("LabelHlaseni")->isHidden(); };
    QTRY_VERIFY_WITH_TIMEOUT(form->Live.speed > 0, kLong);

    const vorn::ParameterImage beforeRead = form->Image;
    form->action("MenuRead")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idle(), kLong);
    const vornsim::Memory factory = vornsim::UnitModel::factoryMemory(40);
    QVERIFY(std::equal(factory.begin(), factory.end(), form->Image.bytes.begin()));

    // An edit not yet programmed, then the comparison with the unit: one cell differs and
    // the window's image stays exactly as it was.
    form->Image.advance(4, 6) = 47;
    form->AfterEdit();
    const vorn::ParameterImage edited = form->Image;
    form->ctl<QWidget>("LabelHlaseni")->hide();
    history.compare().compareWithUnit();
    QVERIFY(history.compare().comparingWithUnit());
    QTRY_VERIFY_WITH_TIMEOUT(!history.compare().comparingWithUnit(), kLong);
    QCOMPARE(form->Image, edited);
    QVERIFY(form->ctl<QWidget>("LabelHlaseni")->isHidden());   // the window's status stays as it was
    CompareView *view = history.compare().compareView();
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->list()->rowCount(), 1);
    QCOMPARE(view->list()->item(0, 2)->text(), QString("%1 °").arg(factory[246]));
    QVERIFY(view->grid()->item(4, 6)->data(Qt::UserRole).toBool());
    QCOMPARE(history.tracking().unitPart()->text(), QString("1 change not programmed"));

    form->action("MenuProgram")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idle() && form->Session.mode() == vorn::ModeIdle
                                 && history.tracking().unitPart()->text() == "in sync with unit",
                             kLong);
    history.restorePoints().waitForRestorePoints();

    sim.terminate();
    QVERIFY(sim.waitForFinished(kLong));
    QFile memoryFile(dump);
    QVERIFY(memoryFile.open(QIODevice::ReadOnly));
    const QByteArray memory = memoryFile.readAll();
    QCOMPARE(memory.size(), vorn::kImageSize);
    const auto *unit = reinterpret_cast<const std::uint8_t *>(memory.constData());

    const QString folder = dir.filePath("history");
    const auto points = vorn::listRestorePoints(folder);
    QStringList events;
    for (const auto &p : points)
        events << vorn::restoreEventWord(p.event);
    QCOMPARE(events, (QStringList{"programmed", "read", "before-read"}));
    vorn::ParameterImage loaded[3];
    for (int i = 0; i < 3; ++i)
        QVERIFY(vorn::loadRestorePoint(QDir(folder).filePath(points[i].fileName), loaded[i]));
    QVERIFY(sameFileBytes(loaded[0], unit));                     // programmed: the unit's memory
    QVERIFY(sameFileBytes(loaded[0], form->Image.bytes.data())); // and the window's image
    QVERIFY(sameFileBytes(loaded[1], factory.data()));           // read: what the unit held then
    QVERIFY(sameFileBytes(loaded[2], beforeRead.bytes.data()));  // before-read: the window then
    QCOMPARE(points[0].unit, points[1].unit);
    QVERIFY(points[1].unit.startsWith("VRN04"));
    form.reset();
}

QTEST_MAIN(HistorySimTest)
#include "history_sim_test.moc"
