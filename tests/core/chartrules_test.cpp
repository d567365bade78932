// How the log views label their axes and lines, and which pulls a comparison draws as one
// line: one table per rule.
#include "datalog/ChartRules.h"
#include "datalog/PullRuns.h"

#include <QTest>

#include <cmath>

using namespace vorn;

class ChartRulesTest : public QObject {
    Q_OBJECT
private slots:
    void roundTicks();
    void timeAxis();
    void percentDifferences();
    void lineColours();
    void linesPerTune();
};

// Ticks fall on round values inside the range, as far apart as the pixels ask for.
void ChartRulesTest::roundTicks()
{
    struct Case {
        const char *name;
        double lo, hi, pixels, minPixels;
        QStringList labels;
    };
    const Case cases[] = {
        {"speed across a scatter", 1180, 10186, 600, 100, {"2000", "4000", "6000", "8000", "10000"}},
        {"advance in degrees", 3.4, 31.7, 400, 70, {"5", "10", "15", "20", "25", "30"}},
        {"a narrow scale in tenths", 12.13, 12.91, 300, 60, {"12.2", "12.4", "12.6", "12.8"}},
        {"round ends are ticks", 0, 100, 500, 100, {"0", "20", "40", "60", "80", "100"}},
        {"below zero, never -0", -0.3, 0.25, 300, 50, {"-0.3", "-0.2", "-0.1", "0.0", "0.1", "0.2"}},
        {"a flag", 0, 1, 300, 100, {"0.0", "0.5", "1.0"}},
    };
    for (const Case &c : cases) {
        const double step = roundStep(c.hi - c.lo, c.pixels, c.minPixels);
        QStringList labels;
        for (double t : ticksBetween(c.lo, c.hi, step))
            labels << tickLabel(t, step);
        QVERIFY2(labels == c.labels, qPrintable(QStringLiteral("%1: %2").arg(c.name, labels.join(' '))));
        QVERIFY2((c.hi - c.lo) / step * c.minPixels <= c.pixels * (1 + 1e-9), c.name);
    }
}

// Seconds up to a ten-minute log; beyond, the clock with round clock steps.
void ChartRulesTest::timeAxis()
{
    struct Case {
        const char *name;
        double from, span, logSeconds, pixels;
        QStringList labels;   // the first three ticks
    };
    const Case cases[] = {
        {"a short log in seconds", 0, 60, 60, 600, {"0 s", "10 s", "20 s"}},
        {"ten minutes still in seconds", 0, 600, 600, 800, {"0 s", "100 s", "200 s"}},
        {"an hour-long log on the clock", 0, 3600, 3600, 800, {"0:00:00", "0:10:00", "0:20:00"}},
        {"zoomed into a long log: round minutes", 3540, 360, 3700, 800, {"0:59:00", "1:00:00", "1:01:00"}},
        {"round quarters of a minute", 700, 60, 1200, 400, {"0:11:45", "0:12:00", "0:12:15"}},
        {"below a second per tick: tenths", 725.05, 1, 1200, 400, {"0:12:05.2", "0:12:05.4", "0:12:05.6"}},
        {"before the log's zero", -300, 600, 3600, 400, {"-0:04:00", "-0:02:00", "0:00:00"}},
    };
    for (const Case &c : cases) {
        const TimeTicks ticks = timeTicks(c.span, c.logSeconds, c.pixels, 80);
        QStringList labels;
        for (double t : ticksBetween(c.from, c.from + c.span, ticks.step))
            if (labels.size() < 3)
                labels << timeLabel(t, ticks);
        QVERIFY2(labels == c.labels, qPrintable(QStringLiteral("%1: %2").arg(c.name, labels.join(' '))));
    }
    QCOMPARE(timeLabel(3599.99, {1, true}), QStringLiteral("1:00:00"));
    QCOMPARE(timeLabel(-3.0, {1, true}), QStringLiteral("-0:00:03"));
}

void ChartRulesTest::percentDifferences()
{
    const std::pair<double, const char *> cases[] = {
        {10.03, "+10.0 %"}, {-2.36, "-2.4 %"}, {-0.04, "+0.0 %"}, {0.05, "+0.1 %"}, {-0.05, "-0.1 %"}};
    for (const auto &[value, text] : cases)
        QCOMPARE(signedPercent(value), QString::fromUtf8(text));
}

// Every line of a chart its own colour: twenty far enough apart to tell apart on white, and
// none, however many lines, so pale that it vanishes there.
void ChartRulesTest::lineColours()
{
    auto channels = [](std::uint32_t c) {
        return std::array<double, 3>{double(c >> 16 & 255), double(c >> 8 & 255), double(c & 255)};
    };
    for (int i = 0; i < 40; ++i) {
        const auto a = channels(lineColour(i));
        QVERIFY2(a[0] + a[1] + a[2] < 3 * 230, qPrintable(QStringLiteral("line %1 too pale").arg(i)));
        for (int j = 0; j < std::min(i, 20); ++j) {
            const auto b = channels(lineColour(j));
            const double d = std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
            QVERIFY2(i >= 20 ? d > 0 : d > 60, qPrintable(QStringLiteral("lines %1 and %2 alike (%3)").arg(i).arg(j).arg(d)));
        }
    }
}

// The lines for the pulls chosen: alone, or with the average the pulls of one tune where
// its first one comes; a pull without a tune stays alone.
void ChartRulesTest::linesPerTune()
{
    using Lines = std::vector<std::vector<int>>;
    const std::vector<QString> tunes = {"a", "b", "a", "", "", "b", "c"};
    struct Case {
        const char *name;
        std::vector<int> chosen;
        bool average;
        Lines lines;
    };
    const Case cases[] = {
        {"each pull alone", {0, 1, 2}, false, {{0}, {1}, {2}}},
        {"averaged per tune", {0, 1, 2, 5, 6}, true, {{0, 2}, {1, 5}, {6}}},
        {"in the order chosen", {5, 2, 1, 0}, true, {{5, 1}, {2, 0}}},
        {"pulls without a tune stay alone", {3, 4, 0}, true, {{3}, {4}, {0}}},
        {"out of range left out", {-1, 0, 9, 2}, true, {{0, 2}}},
    };
    for (const Case &c : cases)
        QVERIFY2(pullLines(c.chosen, tunes, c.average) == c.lines, c.name);
}

QTEST_GUILESS_MAIN(ChartRulesTest)
#include "chartrules_test.moc"
