// The archive as the window offers it, against a stand-in host and a real SQLite file:
// what a transfer records, what the status bar then says, opening a tune as one step.
#include "archive/ArchiveService.h"
#include "archive/ArchiveStore.h"
#include "archive/ui/ArchiveUi.h"
#include "archive/ui/ArchiveWindow.h"
#include "history/ui/CompareView.h"
#include "params/TuneHash.h"
#include "support/FakeHost.h"
#include "support/SilentListener.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTest>

#include <set>

using Transfer = vorn::host::HostNotifier::Transfer;

namespace {

constexpr int kLong = 20000;   // ms; the machine may be busy

// Tunes 'A', 'B', 'C': images that differ in one map cell, with a unit's block 0.
vorn::ParameterImage tune(char name)
{
    vorn::ParameterImage image;
    image[vorn::Off::ProgramVersion] = 4;
    image.advance(3, 3) = static_cast<std::uint8_t>(20 + name - 'A');
    std::uint8_t language = 0, comPort = 1;   // as the window holds it: clamped
    vorn::ClampParameters(image, language, comPort);
    return image;
}

// An event already in the archive, by a bench, at noon of a day in November 2026.
struct Seed {
    const char *bench;
    vorn::EventKind kind;
    char tune;
    char parent;   // 0: none
    int day;
    const char *customer;
};

enum class Step { Read, Program, ReadFails, Open };
enum class Server { None, Refusing, Silent };
struct Scenario {
    const char *name;
    std::vector<Seed> seeds;
    std::vector<std::pair<Step, char>> steps;
    const char *status;       // the tune part after the steps
    const char *lastResult;   // the newest event's result
    char parent;              // what the last tune was made from; 0: none
    Server server = Server::None;
};

const Scenario kScenarios[] = {
    {"read of a tune nobody recorded", {}, {{Step::Read, 'A'}}, "tune not in archive", " OK", 0},
    {"read of a tune programmed on this bench",
     {{"bench 1", vorn::EventKind::Program, 'A', 0, 2, "Novák"}}, {{Step::Read, 'A'}},
     "as programmed 2 Nov 2026 on bench 1, customer Novák", " OK", 0},
    {"read of a tune another bench made from ours",
     {{"bench 1", vorn::EventKind::Program, 'A', 0, 1, ""}, {"bench 2", vorn::EventKind::Program, 'B', 'A', 3, ""}},
     {{Step::Read, 'B'}}, "changed on bench 2 on 3 Nov, from your tune of 1 Nov", " OK", 'A'},
    {"program after a read is made from the read tune", {}, {{Step::Read, 'A'}, {Step::Program, 'B'}}, "", " OK", 'A'},
    {"a tune opened from the archive, then programmed",
     {{"bench 2", vorn::EventKind::Read, 'A', 0, 5, ""}}, {{Step::Open, 'A'}, {Step::Program, 'C'}}, "", " OK", 'A'},
    {"a failed read", {}, {{Step::ReadFails, 'A'}}, "", "Read error!", 0},
    {"server away: the events wait", {}, {{Step::Read, 'A'}}, "tune not in archive", " OK", 0, Server::Refusing},
    {"server takes the connection and never answers: the events wait", {}, {{Step::Read, 'A'}},
     "tune not in archive", " OK", 0, Server::Silent},
};

}  // namespace

class ArchiveFeatureTest : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data();
    void scenarios();
    void windowMnemonicsDiffer();
    void windowListsEventsAsRecorded();
};

void ArchiveFeatureTest::scenarios_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kScenarios)); ++i)
        QTest::newRow(kScenarios[i].name) << i;
}

void ArchiveFeatureTest::scenarios()
{
    QFETCH(int, index);
    const Scenario &s = kScenarios[index];
    qputenv("TZ", "UTC");
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    vorn::ArchiveConfig config;
    config.localPath = dir.filePath("archive.sqlite");
    config.identity = {QStringLiteral("bench 1"), QStringLiteral("anna")};
    vorn::test::SilentListener silent;
    if (s.server != Server::None)   // nothing listens on port 1
        config.server = vorn::ServerAddress{QStringLiteral("127.0.0.1"), s.server == Server::Silent ? silent.port() : 1,
                                            QStringLiteral("anna"), QStringLiteral("v")};
    {
        vorn::ArchiveStore seeder;
        QVERIFY2(seeder.openLocal(config.localPath), qPrintable(seeder.error()));
        for (const Seed &seed : s.seeds) {
            const QString bench = QString::fromUtf8(seed.bench);
            seeder.setIdentity({bench, bench == config.identity.bench ? config.identity.user : QStringLiteral("bert")});
            vorn::EventInput e{.kind = seed.kind, .tune = tune(seed.tune)};
            if (seed.parent)
                e.parent = tune(seed.parent);
            e.timeUtc = QDateTime(QDate(2026, 11, seed.day), QTime(12, 0), Qt::UTC);
            QVERIFY2(seeder.record(e), qPrintable(seeder.error()));
            if (*seed.customer)
                QVERIFY(seeder.addLabel({vorn::LabelInput::Target::Tune, vorn::tuneHash(tune(seed.tune)),
                                         vorn::LabelKey::Customer, QString::fromUtf8(seed.customer)}));
        }
    }

    FakeHost host(dir.filePath("vorn4.ini"));
    host.unitId.version = QStringLiteral("VRN04");
    ArchiveUi ui(host, host, host, host.notifier, config);
    QVERIFY(ui.service());
    QSignalSpy recorded(ui.service(), &vorn::ArchiveService::recorded);
    int transfers = 0;
    char last = 0;
    vorn::EventKind lastKind = vorn::EventKind::Read;
    for (const auto &[step, name] : s.steps) {
        last = name;
        lastKind = step == Step::Program ? vorn::EventKind::Program : vorn::EventKind::Read;
        switch (step) {
        case Step::Read: host.finishTransfer(Transfer::Read, true, vorn::Msg::Verify, tune(name)); break;
        case Step::ReadFails: host.finishTransfer(Transfer::Read, false, vorn::Msg::ReadError, tune(name)); break;
        case Step::Program: {
            // The edit in the window, then Program gives the unit the window's image.
            vorn::ParameterImage edited = host.img;
            edited.advance(3, 3) = tune(name).advance(3, 3);
            host.applyEdit(edited, vorn::StepLabel::named(QStringLiteral("edit")));
            host.finishTransfer(Transfer::Program, true, vorn::Msg::Verify, host.img);
            break;
        }
        case Step::Open:
            ui.openTune(vorn::tuneHash(tune(name)));
            QTRY_COMPARE_WITH_TIMEOUT(host.steps.size(), std::size_t(1), kLong);
            QCOMPARE(host.steps[0].resolve(0),
                     QStringLiteral("Tune %1 from the archive").arg(vorn::tuneHash(tune(name)).left(12)));
            QCOMPARE(vorn::tuneHash(host.img), vorn::tuneHash(tune(name)));
            continue;
        }
        ++transfers;
    }
    QTRY_COMPARE_WITH_TIMEOUT(recorded.size(), transfers, kLong);
    QTRY_COMPARE_WITH_TIMEOUT(ui.tunePart()->text(), QString::fromUtf8(s.status), kLong);
    if (s.server != Server::None)
        QTRY_COMPARE_WITH_TIMEOUT(ui.serverPart()->text(),
                                  QStringLiteral("archive server not reachable; kept here, 1 event waiting"), kLong);
    else
        QVERIFY(ui.serverPart()->isHidden());

    // What this bench recorded, as another reader of the file finds it.
    const bool failed = std::string_view(s.lastResult) != " OK";
    vorn::ArchiveStore reader;
    QVERIFY(reader.openLocal(config.localPath));
    const auto found = reader.find(QStringLiteral("bench 1"));
    QVERIFY(found);
    // Events of one second may come in either order: the newest of the last step's kind.
    const auto it = std::find_if(found->events.begin(), found->events.end(),
                                 [&](const vorn::ArchiveEvent &e) { return e.kind == lastKind; });
    QVERIFY(it != found->events.end());
    const vorn::ArchiveEvent &newest = *it;
    QCOMPARE(newest.result, QString::fromUtf8(s.lastResult));
    QCOMPARE(newest.bench, QStringLiteral("bench 1"));
    QCOMPARE(newest.user, QStringLiteral("anna"));
    QCOMPARE(newest.tuneHash, failed ? QString() : vorn::tuneHash(tune(last)));
    if (!failed) {
        const auto history = reader.history(newest.tuneHash);
        QVERIFY(history);
        QCOMPARE(history->ancestors.empty() ? QString() : history->ancestors.front().hash,
                 s.parent ? vorn::tuneHash(tune(s.parent)) : QString());
    }

    // Two tunes of the archive side by side: both sides named by their tune, on screen and
    // in the copied text (neither is the window's image).
    if (s.seeds.size() >= 2) {
        const QString a = vorn::tuneHash(tune(s.seeds[0].tune)), b = vorn::tuneHash(tune(s.seeds[1].tune));
        ui.compareTunes(a, b);
        QTRY_VERIFY_WITH_TIMEOUT(ui.compareView() && ui.compareView()->isVisible(), kLong);
        const QStringList lines = ui.compareView()->text().split('\n');
        QCOMPARE(lines.value(0), QStringLiteral("Parameter\ttune %1\ttune %2").arg(a.left(12), b.left(12)));
        QVERIFY2(lines.value(1).endsWith(QStringLiteral("\t20 °\t21 °")), qPrintable(lines.value(1)));   // cell 3/3 of A, of B
        QCOMPARE(ui.compareView()->list()->horizontalHeaderItem(1)->text(), QStringLiteral("tune %1").arg(a.left(12)));
    }
}

// A stand-in host whose archive is a file of its own, with the archive window open.
struct OpenWindow {
    QTemporaryDir dir;
    FakeHost host{dir.filePath("vorn4.ini")};
    ArchiveUi ui{host, host, host, host.notifier, vorn::ArchiveConfig{dir.filePath("archive.sqlite"), {}, {}}};
    OpenWindow() { ui.openWindow(); }
};

void ArchiveFeatureTest::windowMnemonicsDiffer()
{
    OpenWindow open;
    ArchiveUi &ui = open.ui;
    FakeHost &host = open.host;
    QVERIFY(ui.window());
    for (int language = 0; language < 4; ++language) {
        emit host.notifier.languageChanged(language);
        std::multiset<QChar> letters;
        auto take = [&](const QString &text) {
            const qsizetype i = text.indexOf(QLatin1Char('&'));
            if (i >= 0 && i + 1 < text.size())
                letters.insert(text[i + 1].toUpper());
        };
        for (QLabel *l : ui.window()->findChildren<QLabel *>())
            if (l->buddy())
                take(l->text());
        for (QPushButton *b : ui.window()->findChildren<QPushButton *>())
            take(b->text());
        QCOMPARE(int(letters.size()), 12);   // every control of the window has its letter
        QCOMPARE(int(std::set<QChar>(letters.begin(), letters.end()).size()), 12);
    }
}

// The open window lists each event as it is recorded, and the tune chosen in it stays chosen;
// a closed one catches up when it is opened again.
void ArchiveFeatureTest::windowListsEventsAsRecorded()
{
    OpenWindow open;
    FakeHost &host = open.host;
    ArchiveWindow *window = open.ui.window();
    QVERIFY(window);
    auto tuneOfRow = [window](int row) {
        const QTableWidgetItem *item = window->events()->item(row, 0);
        return item ? item->data(Qt::UserRole).toString() : QString();
    };
    host.finishTransfer(Transfer::Read, true, vorn::Msg::Verify, tune('A'));
    QTRY_COMPARE_WITH_TIMEOUT(window->events()->rowCount(), 1, kLong);
    QCOMPARE(tuneOfRow(0), vorn::tuneHash(tune('A')));
    QTRY_COMPARE_WITH_TIMEOUT(window->chosen(), vorn::tuneHash(tune('A')), kLong);
    host.finishTransfer(Transfer::Read, true, vorn::Msg::Verify, tune('B'));
    QTRY_COMPARE_WITH_TIMEOUT(window->events()->rowCount(), 2, kLong);
    QCOMPARE(tuneOfRow(0), vorn::tuneHash(tune('B')));
    QCOMPARE(window->selectedTunes(), QStringList{vorn::tuneHash(tune('A'))});
    QCOMPARE(window->chosen(), vorn::tuneHash(tune('A')));
    // Closed, it lists what was recorded meanwhile when it is shown again.
    window->close();
    QSignalSpy recorded(open.ui.service(), &vorn::ArchiveService::recorded);
    host.finishTransfer(Transfer::Read, true, vorn::Msg::Verify, tune('C'));
    QTRY_COMPARE_WITH_TIMEOUT(recorded.size(), 1, kLong);
    open.ui.openWindow();
    QTRY_COMPARE_WITH_TIMEOUT(window->events()->rowCount(), 3, kLong);
}

QTEST_MAIN(ArchiveFeatureTest)
#include "archive_test.moc"
