// Undo, change tracking and comparisons against a stand-in host: the feature as any window
// that offers the host roles would have it.
#include "history/HistoryTexts.h"
#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/ChangeTrackingUi.h"
#include "history/ui/CompareUi.h"
#include "history/ui/CompareView.h"
#include "history/ui/RestorePointsUi.h"
#include "history/ui/UndoUi.h"
#include "maps/MapOperations.h"
#include "files/IgnFile.h"
#include "support/FakeHost.h"
#include "support/MemoryPort.h"

#include <QFile>
#include <QDir>
#include <QRegularExpression>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using vorn::LinkEvent;

namespace {

LinkEvent status(vorn::Msg m, LinkEvent::Style style)
{
    LinkEvent e{LinkEvent::ShowStatus};
    e.message = m;
    e.style = style;
    return e;
}

}  // namespace

class HistoryFeatureTest : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data();
    void scenarios();
};

void HistoryFeatureTest::scenarios_data()
{
    QTest::addColumn<QString>("scenario");
    for (const char *s : {"undo after two edits returns the first image", "a map operation is one named step",
                          "step names follow the language", "the unit part is a claim about the unit",
                          "compare with the unit during a replay", "compare with an unreadable file",
                          "comparison rows in the page's order", "one change, several changes",
                          "restore point error in the language shown", "a Read is one step from the unit",
                          "compare with the unit borrows the port", "a model change keeps a point of before"})
        QTest::newRow(s) << QString::fromLatin1(s);
}

void HistoryFeatureTest::scenarios()
{
    QFETCH(QString, scenario);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    FakeHost host(dir.filePath("vorn4.ini"));
    // Nothing but the host roles and the notifier: the feature as the window makes it.
    ChangeHistoryUi ui(host, host, host, host, host.notifier);
    std::uint8_t language = 0, com = 1;
    vorn::ClampParameters(host.img, language, com);   // as the window starts: every value in range
    emit host.notifier.started();
    using vorn::host::HostNotifier;
    vorn::host::ClickLabel *unitPart = ui.tracking().unitPart();
    auto points = [&] {
        ui.restorePoints().waitForRestorePoints();
        return int(QDir(dir.filePath("history")).entryList({"*.ign"}, QDir::Files).size());
    };
    const vorn::ParameterImage start = host.img;
    auto edited = [&](int limiter) {
        vorn::ParameterImage img = host.img;
        img.limiter2() = static_cast<std::uint8_t>(limiter);
        return img;
    };
    // A change of several parameters: its step bears the name its command gives it.
    auto editedTwice = [&](int limiter) {
        vorn::ParameterImage img = edited(limiter);
        img.baseAdv() = static_cast<std::uint8_t>(img.baseAdv() + 1);
        return img;
    };
    QAction *undo = host.placed.value(vorn::host::MenuPlace::EditHistory).value(0);
    QVERIFY(undo && undo->objectName() == "MenuUndo");
    QVERIFY(host.placed.value(vorn::host::MenuPlace::FileExtras).size() == 1);

    if (scenario.startsWith("undo after two edits")) {
        host.applyEdit(edited(100), {});
        const vorn::ParameterImage first = host.img;
        host.applyEdit(edited(120), {});
        ui.undo().undo();
        QCOMPARE(host.img, first);
        ui.undo().undo();
        QCOMPARE(host.img, start);
        QVERIFY(!ui.undo().history().canUndo());
    } else if (scenario.startsWith("a map operation") || scenario.startsWith("step names")) {
        vorn::ParameterImage img = host.img;
        QVERIFY(!vorn::maps::stepAdvanceAll(img, true).empty());
        host.applyEdit(img, {&vorn::htext::StepAdvanceAll, QString::fromUtf8("+1 °")});
        QCOMPARE(ui.undo().history().undoCount(), 1);
        QCOMPARE(undo->text(), QString::fromUtf8("&Undo Advance map +1 °"));
        if (scenario.startsWith("step names")) {
            emit host.notifier.languageChanged(3);
            QCOMPARE(undo->text(), QString::fromUtf8("&Zpět: Mapa předstihu +1 °"));
            emit host.notifier.languageChanged(1);
            QCOMPARE(undo->text(), QString::fromUtf8("&Rückgängig: Vorzündung Karte +1 °"));
        }
        ui.undo().undo();
        QCOMPARE(host.img, start);
    } else if (scenario.startsWith("the unit part")) {
        // Each row: what happens, then what the unit part says.
        struct Step {
            std::vector<LinkEvent> events;
            bool forget;
            const char *said;
            bool settingsBlockSent = false;   // the host's session wrote block 1 first
        };
        const std::vector<Step> steps = {
            {{status(vorn::Msg::Read, LinkEvent::Progress), status(vorn::Msg::Read, LinkEvent::Success)}, false,
             "in sync with unit"},
            {{}, true, "unit not compared"},   // another port, another unit
            {{status(vorn::Msg::Read, LinkEvent::Progress), status(vorn::Msg::Read, LinkEvent::Success)}, false,
             "in sync with unit"},
            {{status(vorn::Msg::ProgramDevice, LinkEvent::Progress)}, false, "unit not compared"},
            {{status(vorn::Msg::Verify, LinkEvent::Progress), status(vorn::Msg::Verify, LinkEvent::Success)}, false,
             "in sync with unit"},
            {{status(vorn::Msg::Read, LinkEvent::Progress), status(vorn::Msg::Read, LinkEvent::Error)}, false,
             "unit not compared"},
            // A Program that failed before writing anything leaves the unit as it was
            // unknown; one that wrote the settings says so until a transfer ends OK.
            {{status(vorn::Msg::ProgramDevice, LinkEvent::Progress), status(vorn::Msg::ProgramError, LinkEvent::Error)},
             false, "unit not compared"},
            {{status(vorn::Msg::ProgramDevice, LinkEvent::Progress), status(vorn::Msg::ProgramError, LinkEvent::Error)},
             false, "unit holds a partial image", true},
            {{status(vorn::Msg::Read, LinkEvent::Progress), status(vorn::Msg::Read, LinkEvent::Error)}, false,
             "unit holds a partial image"},
            {{}, true, "unit holds a partial image"},
            {{status(vorn::Msg::Verify, LinkEvent::Progress), status(vorn::Msg::Verify, LinkEvent::Success)}, false,
             "in sync with unit"},
        };
        MemoryPort port;
        host.deviceSession.setPort(&port);
        for (const Step &s : steps) {
            if (s.settingsBlockSent) {
                host.deviceSession.startProgram();
                while (port.written.empty())
                    host.deviceSession.tick();
                vorn::ParameterImage unit;
                unit[vorn::Off::ProgramVersion] = vorn::kUnitProgramVersion;
                const vorn::Frame reply = vorn::makeFrame(vorn::Cmd::BlockWrite ^ vorn::Cmd::ReplyToggle, unit.block(0));
                port.feedReceived(QByteArray(reinterpret_cast<const char *>(reply.data()), vorn::kFrameSize));
                host.deviceSession.tick();
                QCOMPARE(port.commands().back(), vorn::Cmd::BlockWrite + 1);
            }
            if (s.forget)
                emit host.notifier.unitForgotten();
            else
                emit host.notifier.linkEventsApplied(s.events);
            QCOMPARE(unitPart->text(), QString::fromLatin1(s.said));
        }
    } else if (scenario.startsWith("compare with the unit")) {
        MemoryPort port;
        host.openPort = &port;
        host.inReplay = true;
        ui.compare().compareWithUnit();
        QVERIFY(!ui.compare().comparingWithUnit());
        QTest::qWait(3 * vorn::host::Link::kTickInterval);
        QVERIFY(port.written.empty() && !host.portLent);
        QVERIFY2(unitPart->toolTip().contains("replay"), qPrintable(unitPart->toolTip()));
        QVERIFY(host.messages.isEmpty());
        host.inReplay = false;
        ui.compare().compareWithUnit();
        QVERIFY(ui.compare().comparingWithUnit());
    } else if (scenario.startsWith("compare with an unreadable")) {
        ui.compare().compareWithFile(dir.filePath("gone.ign"));
        QFile other(dir.filePath("other.txt"));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("not a parameter file\n") > 0);
        other.close();
        ui.compare().compareWithFile(other.fileName());
        QCOMPARE(host.messages, (QStringList{host.messageText(vorn::Msg::OpenFileError),
                                             host.messageText(vorn::Msg::UnmatchedIgnFile)}));
        QVERIFY(!ui.compare().compareView());
    } else if (scenario.startsWith("comparison rows")) {
        vorn::ParameterImage file = host.img;
        file.advance(0, 0) = static_cast<std::uint8_t>(file.advance(0, 0) + 3);   // 0 % throttle, first speed
        QFile f(dir.filePath("row0.ign"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(vorn::WriteParameterFile(file)) > 0);
        f.close();
        ui.compare().compareWithFile(f.fileName());
        CompareView *view = ui.compare().compareView();
        QVERIFY(view);
        QCOMPARE(view->grid()->verticalHeaderItem(0)->text(), QString("0 %"));
        QCOMPARE(view->grid()->verticalHeaderItem(9)->text(), QString("100 %"));
        QVERIFY(view->grid()->item(0, 0)->data(Qt::UserRole).toBool());
        QVERIFY(!view->grid()->item(9, 0)->data(Qt::UserRole).toBool());
        const QStringList lines = view->text().split('\n');
        const int head = int(lines.indexOf(QRegularExpression("^%\t.*")));
        QVERIFY(head > 0);
        QVERIFY2(lines[head + 1].startsWith("0\t") && lines[head + 1].contains('*'), qPrintable(lines[head + 1]));
        QVERIFY(lines[head + 10].startsWith("100\t"));
    } else if (scenario.startsWith("one change")) {
        emit host.notifier.fileEvent(HostNotifier::FileEvent::Saved, dir.filePath("map.ign"));
        host.applyEdit(edited(100), {});
        QCOMPARE(ui.tracking().filePart()->text(), QString("map.ign: 1 change since saved"));
        vorn::ParameterImage more = host.img;
        more.baseAdv() = static_cast<std::uint8_t>(more.baseAdv() + 1);
        more.pilotLight() = static_cast<std::uint8_t>(more.pilotLight() + 1);
        host.applyEdit(more, {});
        emit host.notifier.languageChanged(3);
        QCOMPARE(ui.tracking().filePart()->text(), QString::fromUtf8("map.ign: 3 změny od uložení"));
        emit host.notifier.languageChanged(2);
        QCOMPARE(ui.tracking().filePart()->text(), QString::fromUtf8("map.ign: 3 modifications depuis l'enregistrement"));
        emit host.notifier.linkEventsApplied(
            {status(vorn::Msg::Read, LinkEvent::Progress), status(vorn::Msg::Read, LinkEvent::Success)});
        host.applyEdit(edited(101), {});
        emit host.notifier.languageChanged(1);
        QCOMPARE(unitPart->text(), QString::fromUtf8("1 Änderung nicht programmiert"));
    } else if (scenario.startsWith("restore point error")) {
        QFile blocker(dir.filePath("history"));   // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        emit host.notifier.languageChanged(1);
        emit host.notifier.imageReplacing(HostNotifier::Replacement::New, host.img);
        ui.restorePoints().waitForRestorePoints();
        QVERIFY2(unitPart->toolTip().startsWith(QString::fromUtf8("Wiederherstellungspunkt nicht geschrieben: "
                                                                       "der Ordner ")),
                 qPrintable(unitPart->toolTip()));
        QVERIFY(host.window.statusBar()->currentMessage().isEmpty());   // the hint panel keeps hints only
        emit host.notifier.languageChanged(3);
        emit unitPart->clicked();
        QCOMPARE(host.messages.size(), 1);
        QVERIFY2(host.messages[0].contains(QString::fromUtf8("nelze vytvořit složku")), qPrintable(host.messages[0]));
        QVERIFY(unitPart->toolTip().isEmpty());
    } else if (scenario.startsWith("a Read is one step")) {
        // The window's Read: the file it came from is forgotten, a point keeps the image
        // before and one the unit's; the blocks arrive as link events, not as an edit.
        emit host.notifier.fileEvent(HostNotifier::FileEvent::Saved, dir.filePath("map.ign"));
        emit host.notifier.transferStarted(HostNotifier::Transfer::Read);
        QCOMPARE(ui.tracking().filePart()->text(), QString("not saved to a file"));
        host.img = editedTwice(100);
        emit host.notifier.linkEventsApplied(
            {status(vorn::Msg::Read, LinkEvent::Progress), status(vorn::Msg::Read, LinkEvent::Success)});
        QCOMPARE(undo->text(), QString("&Undo Read from unit"));
        QCOMPARE(unitPart->text(), QString("in sync with unit"));
        QCOMPARE(points(), 2);
        ui.undo().undo();
        QCOMPARE(host.img, start);
        QCOMPARE(unitPart->text(), QString("2 changes not programmed"));
    } else if (scenario.startsWith("compare with the unit borrows")) {
        MemoryPort port;
        host.openPort = &port;
        using Finished = std::vector<std::pair<HostNotifier::Transfer, bool>>;
        Finished finished;
        QObject::connect(&host.notifier, &HostNotifier::transferFinished,
                         [&](HostNotifier::Transfer kind, bool ok) { finished.emplace_back(kind, ok); });
        ui.compare().compareWithUnit();
        QVERIFY(host.portLent);
        QTRY_VERIFY(!port.written.empty());   // the read's requests, on the feature's own tick
        const int first = port.commands().front();
        QVERIFY(first >= vorn::Cmd::BlockRead && first <= vorn::Cmd::BlockRead + 2);
        host.openPort = nullptr;   // the port goes under the read
        QTRY_VERIFY(!ui.compare().comparingWithUnit());
        QVERIFY(!host.portLent);
        QVERIFY(finished == (Finished{{HostNotifier::Transfer::Compare, false}}));
        QCOMPARE(unitPart->toolTip(), QString("The unit did not answer the comparison read."));
        QVERIFY(!ui.compare().compareView());
    } else if (scenario.startsWith("a model change")) {
        emit host.notifier.imageReplacing(HostNotifier::Replacement::Model, host.img);
        emit host.notifier.editStepStarted({&vorn::htext::StepModel});
        host.img = editedTwice(90);
        emit host.notifier.imageEdited();
        QCOMPARE(undo->text(), QString("&Undo Model change with its preset"));
        QCOMPARE(points(), 1);
        const QString point = QDir(dir.filePath("history")).entryInfoList({"*.ign"}, QDir::Files).value(0).filePath();
        QVERIFY(vorn::loadRestorePoint(point, host.img));
        QCOMPARE(host.img, start);
    }
}

QTEST_MAIN(HistoryFeatureTest)
#include "history_test.moc"
