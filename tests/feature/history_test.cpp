// Undo, change tracking and comparisons against a stand-in host: the feature as any window
// that offers the host roles would have it.
#include "history/HistoryTexts.h"
#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/CompareView.h"
#include "maps/MapOperations.h"
#include "files/IgnFile.h"
#include "support/FakeHost.h"
#include "support/MemoryPort.h"

#include <QFile>
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
                          "restore point error in the language shown"})
        QTest::newRow(s) << QString::fromLatin1(s);
}

void HistoryFeatureTest::scenarios()
{
    QFETCH(QString, scenario);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    FakeHost host(dir.filePath("vorn4.ini"));
    ChangeHistoryUi ui(host, host, host, host, host.notifier);
    host.afterEdit = [&ui](const vorn::StepLabel *label) {
        if (label)
            ui.nextStep(*label);
        ui.afterEdit();
    };
    std::uint8_t language = 0, com = 1;
    vorn::ClampParameters(host.img, language, com);   // as the window starts: every value in range
    ui.started();
    const vorn::ParameterImage start = host.img;
    auto edited = [&](int limiter) {
        vorn::ParameterImage img = host.img;
        img.limiter2() = static_cast<std::uint8_t>(limiter);
        return img;
    };
    QAction *undo = host.placed.value(vorn::host::MenuPlace::EditHistory).value(0);
    QVERIFY(undo && undo->objectName() == "MenuUndo");
    QVERIFY(host.placed.value(vorn::host::MenuPlace::FileExtras).size() == 1);

    if (scenario.startsWith("undo after two edits")) {
        host.applyEdit(edited(100), {});
        const vorn::ParameterImage first = host.img;
        host.applyEdit(edited(120), {});
        ui.undo();
        QCOMPARE(host.img, first);
        ui.undo();
        QCOMPARE(host.img, start);
        QVERIFY(!ui.history().canUndo());
    } else if (scenario.startsWith("a map operation") || scenario.startsWith("step names")) {
        vorn::ParameterImage img = host.img;
        QVERIFY(!vorn::maps::stepAdvanceAll(img, true).empty());
        host.applyEdit(img, {&vorn::htext::StepAdvanceAll, QString::fromUtf8("+1 °")});
        QCOMPARE(ui.history().undoCount(), 1);
        QCOMPARE(undo->text(), QString::fromUtf8("&Undo Advance map +1 °"));
        if (scenario.startsWith("step names")) {
            emit host.notifier.languageChanged(3);
            QCOMPARE(undo->text(), QString::fromUtf8("&Zpět: Mapa předstihu +1 °"));
            emit host.notifier.languageChanged(1);
            QCOMPARE(undo->text(), QString::fromUtf8("&Rückgängig: Vorzündung Karte +1 °"));
        }
        ui.undo();
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
            QCOMPARE(ui.unitPart()->text(), QString::fromLatin1(s.said));
        }
    } else if (scenario.startsWith("compare with the unit")) {
        MemoryPort port;
        host.openPort = &port;
        host.inReplay = true;
        ui.compareWithUnit();
        QVERIFY(!ui.comparingWithUnit());
        QVERIFY(port.written.empty() && !ui.tickInstead());
        QVERIFY2(ui.unitPart()->toolTip().contains("replay"), qPrintable(ui.unitPart()->toolTip()));
        QVERIFY(host.messages.isEmpty());
        host.inReplay = false;
        ui.compareWithUnit();
        QVERIFY(ui.comparingWithUnit());
    } else if (scenario.startsWith("compare with an unreadable")) {
        ui.compareWithFile(dir.filePath("gone.ign"));
        QFile other(dir.filePath("other.txt"));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("not a parameter file\n") > 0);
        other.close();
        ui.compareWithFile(other.fileName());
        QCOMPARE(host.messages, (QStringList{host.messageText(vorn::Msg::OpenFileError),
                                             host.messageText(vorn::Msg::UnmatchedIgnFile)}));
        QVERIFY(!ui.compareView());
    } else if (scenario.startsWith("comparison rows")) {
        vorn::ParameterImage file = host.img;
        file.advance(0, 0) = static_cast<std::uint8_t>(file.advance(0, 0) + 3);   // 0 % throttle, first speed
        QFile f(dir.filePath("row0.ign"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(vorn::WriteParameterFile(file)) > 0);
        f.close();
        ui.compareWithFile(f.fileName());
        CompareView *view = ui.compareView();
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
        ui.fileSaved(dir.filePath("map.ign"));
        host.applyEdit(edited(100), {});
        QCOMPARE(ui.filePart()->text(), QString("map.ign: 1 change since saved"));
        vorn::ParameterImage more = host.img;
        more.baseAdv() = static_cast<std::uint8_t>(more.baseAdv() + 1);
        more.pilotLight() = static_cast<std::uint8_t>(more.pilotLight() + 1);
        host.applyEdit(more, {});
        emit host.notifier.languageChanged(3);
        QCOMPARE(ui.filePart()->text(), QString::fromUtf8("map.ign: 3 změny od uložení"));
        emit host.notifier.languageChanged(2);
        QCOMPARE(ui.filePart()->text(), QString::fromUtf8("map.ign: 3 modifications depuis l'enregistrement"));
        emit host.notifier.linkEventsApplied(
            {status(vorn::Msg::Read, LinkEvent::Progress), status(vorn::Msg::Read, LinkEvent::Success)});
        host.applyEdit(edited(101), {});
        emit host.notifier.languageChanged(1);
        QCOMPARE(ui.unitPart()->text(), QString::fromUtf8("1 Änderung nicht programmiert"));
    } else if (scenario.startsWith("restore point error")) {
        QFile blocker(dir.filePath("history"));   // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        emit host.notifier.languageChanged(1);
        ui.beforeReplace(vorn::RestoreEvent::BeforeNew, host.img);
        ui.waitForRestorePoints();
        QVERIFY2(ui.unitPart()->toolTip().startsWith(QString::fromUtf8("Wiederherstellungspunkt nicht geschrieben: "
                                                                       "der Ordner ")),
                 qPrintable(ui.unitPart()->toolTip()));
        QVERIFY(host.window.statusBar()->currentMessage().isEmpty());   // the hint panel keeps hints only
        emit host.notifier.languageChanged(3);
        emit ui.unitPart()->clicked();
        QCOMPARE(host.messages.size(), 1);
        QVERIFY2(host.messages[0].contains(QString::fromUtf8("nelze vytvořit složku")), qPrintable(host.messages[0]));
        QVERIFY(ui.unitPart()->toolTip().isEmpty());
    }
}

QTEST_MAIN(HistoryFeatureTest)
#include "history_test.moc"
