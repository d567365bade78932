// Tools, "Advance finder..." as the window meets it: a run ridden against the fake host
// programs its variants only while the throttle is shut between pulls and the base map
// back at the end, and Apply makes the proposal one undo step within the ceiling.
#include "finder/AdvanceFinder.h"
#include "link/ActiveCell.h"
#include "logview/ui/AdvanceFinderUi.h"
#include "logview/ui/LogViewTexts.h"
#include "logview/ui/LogViewUi.h"
#include "maps/MapOperations.h"
#include "params/New.h"
#include "support/FakeHost.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using vorn::logview::AdvanceFinder;
using vorn::logview::AdvanceFinderUi;
using Transfer = vorn::host::HostNotifier::Transfer;

namespace {

constexpr int kRow = vorn::finder::kFullThrottleRow;
constexpr int kShut = 0, kOpen = 100;

int advanceAt(const vorn::ParameterImage &image, int column)
{
    return vorn::maps::cellValue(image, vorn::maps::Table::Advance, {kRow, column});
}

}  // namespace

class AdvanceFinderTest : public QObject {
    Q_OBJECT
private slots:
    void rideAndApply_data();
    void rideAndApply();
};

void AdvanceFinderTest::rideAndApply_data()
{
    QTest::addColumn<int>("baseAdvance");   // every cell of the full-throttle row
    QTest::addColumn<int>("bestAdvance");   // where the simulated engine makes most torque
    QTest::addColumn<int>("expected");      // the proposal
    QTest::addColumn<int>("rounds");
    QTest::newRow("best within the tried advances") << 26 << 29 << 29 << 1;
    // The ceiling (+4 ° over the base) is below the best: the proposal stops there.
    QTest::newRow("best above the ceiling") << 20 << 33 << 24 << 1;
    QTest::newRow("a second round around the first one's answer") << 24 << 27 << 27 << 2;
}

void AdvanceFinderTest::rideAndApply()
{
    QFETCH(int, baseAdvance);
    QFETCH(int, bestAdvance);
    QFETCH(int, expected);
    QFETCH(int, rounds);
    QTemporaryDir dir;
    FakeHost host(dir.filePath("vorn4.ini"));
    vorn::LoadDefaults(host.img);
    for (int c = 0; c < vorn::kMapSize; ++c)
        vorn::maps::cellByte(host.img, vorn::maps::Table::Advance, {kRow, c}) = std::uint8_t(baseAdvance);
    std::uint8_t language = 0, comPort = 1;   // as the fake host's edits clamp
    vorn::ClampParameters(host.img, language, comPort);
    const vorn::ParameterImage base = host.img;
    std::int64_t nowMs = 0;
    AdvanceFinderUi ui(host, host, host, host, host.notifier, vorn::logview::LogViewUi::defaultModuleDirs(),
                       [&] { return nowMs; });
    QVERIFY(host.placed.value(vorn::host::MenuPlace::Tools).contains(ui.action()));
    ui.action()->trigger();
    AdvanceFinder *finder = ui.finder();
    QVERIFY2(finder, qPrintable(host.messages.join('\n')));
    AdvanceFinder::Settings settings;
    settings.stepDeg = 3;
    settings.pulls = 2;
    settings.rounds = rounds;
    finder->setSettings(settings);
    QVERIFY(finder->start());

    // The engine on the road: the unit applies its map's cell; torque falls off the square
    // of the distance from the best advance. A Program ends before the next reply.
    vorn::ParameterImage unit = base;
    std::size_t programs = 0;
    QStringList glances;
    QList<int> throttleAtProgram;
    auto reply = [&](double rpm, int throttle) {
        nowMs += 330;
        host.fields.rpm = std::uint16_t(std::lround(rpm));
        host.fields.tpsPercent = std::uint8_t(throttle);
        host.cell = vorn::findActiveCell(unit, {host.fields.rpm, host.fields.tpsPercent, 0}, true);
        host.fields.advance.fill(std::uint8_t(advanceAt(unit, host.cell.advanceColumn)));
        emit host.notifier.liveValuesDecoded();
        if (host.programmed.size() > programs) {
            throttleAtProgram << throttle;
            programs = host.programmed.size();
            unit = host.programmed.back();
            host.finishTransfer(Transfer::Program, true, vorn::Msg::ProgramError, unit);
        }
        glances << finder->progressText();
    };
    // Between the first pulls the tuner raises the shift light: the variants after it and
    // the base put back at the end carry it.
    vorn::ParameterImage tuned = base;
    tuned[vorn::Off::PilotLight] = std::uint8_t(base[vorn::Off::PilotLight] + 5);
    for (int ride = 0; ride < 40 && finder->running(); ++ride) {
        if (ride == 1)
            host.img[vorn::Off::PilotLight] = tuned[vorn::Off::PilotLight];
        // Every third pull follows a single shut reply: too short a pause to program in, so
        // the variant waits through that pull.
        for (int i = 0; i < (ride % 3 == 1 ? 1 : 8); ++i)
            reply(2500, kShut);
        for (double rpm = 4000; rpm < 12500;) {
            reply(rpm, kOpen);
            const double off = advanceAt(unit, host.cell.advanceColumn) - bestAdvance;
            rpm += 0.33 * 1500 * (1 - 0.0018 * off * off);
        }
    }
    QVERIFY(!finder->running());
    const int programsMade = 3 * rounds + 1;
    QCOMPARE(throttleAtProgram, QList<int>(programsMade, kShut));   // never in a pull
    const QString lastGlance = rounds == 1 ? "variant 2 of 3, pull 1 of 2" : "round 2 of 2: variant 3 of 3, pull 2 of 2";
    QVERIFY2(glances.contains(lastGlance), qPrintable(glances.join('\n')));
    // Three variants a step apart (a round), then the base back, and nothing else.
    QCOMPARE(host.programmed.size(), std::size_t(programsMade));
    for (int v = 0; v < 3; ++v) {
        QCOMPARE(advanceAt(host.programmed[v], 0), std::min(baseAdvance + 3 * (v - 1), baseAdvance + 4));
        QCOMPARE(host.programmed[v][vorn::Off::PilotLight], (v == 0 ? base : tuned)[vorn::Off::PilotLight]);
    }
    QVERIFY(host.programmed.back() == tuned);
    QVERIFY(host.steps.empty());

    QVERIFY(finder->hasProposal());
    QVERIFY(finder->apply());
    QCOMPARE(host.steps.size(), std::size_t(1));
    QCOMPARE(host.steps[0].text, &vorn::logview::texts::kFinderStep);
    QCOMPARE(host.programmed.size(), std::size_t(programsMade));   // Apply programs nothing
    vorn::ParameterImage probe;
    const auto rowStart = &vorn::maps::cellByte(probe, vorn::maps::Table::Advance, {kRow, 0}) - probe.bytes.data();
    int changed = 0;
    for (int i = 0; i < vorn::kImageSize; ++i) {
        if (host.img[i] == tuned[i])
            continue;
        const int column = int(i - rowStart);
        QVERIFY2(column >= 0 && column < vorn::kMapSize, qPrintable(QString("byte %1 changed").arg(i)));
        QCOMPARE(advanceAt(host.img, column), expected);
        ++changed;
    }
    QVERIFY(changed > 0);
}

QTEST_MAIN(AdvanceFinderTest)
#include "advancefinder_test.moc"
