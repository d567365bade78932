// The log workbench as the window meets it: Log, "Analyse log..." loads the module and opens
// a log; the graphs with their cursors, the histogram's cells and the marker key, each one
// table of scenarios against logs written here with values known by formula.
#include "datalog/LogAnalysis.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "datalog/Markers.h"
#include "logview/ui/LogViewUi.h"
#include "params/New.h"
#include "support/FakeHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>

using vorn::LogRow;
using vorn::logview::LogViewUi;
using vorn::logview::Workbench;

namespace {

// Row i at 0.5 s * i: rpm 1000 + 100 i (so 1000 + 200 t between rows), throttle 95 % for
// the first five rows and 20 % after; the map cell of each row from `cellOf`.
QString writeLog(const QString &path, int rows, const std::function<std::pair<int, int>(int)> &cellOf = {},
                 int rpmBase = 1000)
{
    QByteArray text = QByteArray(vorn::kLogHeader) + '\n';
    for (int i = 0; i < rows; ++i) {
        LogRow r;
        r.timeMs = 500 * i;
        r.rpm = rpmBase + 100 * i;
        r.throttlePercent = i < 5 ? 95 : 20;
        if (cellOf) {
            const auto [row, column] = cellOf(i);
            r.mapRow = row;
            r.mapColumn = column;
        }
        text += vorn::formatLogRow(r) + '\n';
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

QString rpmText(double t, int base = 1000)
{
    return QString::number(base + 200 * t, 'f', 0);
}

struct Fixture {
    QTemporaryDir dir;
    FakeHost host{dir.filePath("vorn4.ini")};
    QString recording;   // what the window says is being recorded
    LogViewUi ui{host, host.notifier, [this] { return recording; }, LogViewUi::defaultModuleDirs()};

    Workbench *open(const QString &log)
    {
        host.fileAnswers.push_back(log);
        ui.analyseAction()->trigger();
        Workbench *wb = ui.workbench();
        if (wb)
            (void)QTest::qWaitForWindowActive(wb->widget());
        return wb;
    }
    void shot(Workbench *wb, const char *name)
    {
        const QString shots = qEnvironmentVariable("VORN4_TEST_SHOTS");
        if (!shots.isEmpty())
            wb->widget()->grab().save(shots + '/' + name + ".png");
    }
};

}  // namespace

class LogViewTest : public QObject {
    Q_OBJECT
private slots:
    void graphsWithCursors();
    void histogramCellMovesCursors();
    void markerKey();
};

// Cursors set by click, by the row keys and on a shifted second log; zoom and pan keep the
// time under the mouse or the span. The readout is held against the log's formula.
void LogViewTest::graphsWithCursors()
{
    struct Case {
        const char *name;
        std::function<void(Workbench *, QWidget *plot)> act;
        double a, b;        // expected cursors; NaN: only near the clicked times below
        double clickA, clickB;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {"click A, right click B",
         [](Workbench *wb, QWidget *plot) {
             QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(wb->plotX(2.0), plot->height() / 2));
             QTest::mouseClick(plot, Qt::RightButton, {}, QPoint(wb->plotX(6.0), plot->height() / 2));
         },
         nan, nan, 2.0, 6.0},
        {"row keys from the start",
         [](Workbench *wb, QWidget *) {
             wb->setCursors(0, 0);
             for (int i = 0; i < 3; ++i)
                 QTest::keyClick(wb->widget(), Qt::Key_Right, Qt::AltModifier);
             for (int i = 0; i < 8; ++i)
                 QTest::keyClick(wb->widget(), Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
             QTest::keyClick(wb->widget(), Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
         },
         1.5, 3.5, nan, nan},
        {"plain keys on the graphs, B back past the start stops at the first row",
         [](Workbench *wb, QWidget *plot) {
             wb->setCursors(1.2, 0.4);
             plot->setFocus();
             QTest::keyClick(plot, Qt::Key_A);                       // 1.2 lies between rows: on to 1.5
             QTest::keyClick(plot, Qt::Key_B, Qt::ShiftModifier);    // back to 0
             QTest::keyClick(plot, Qt::Key_B, Qt::ShiftModifier);
         },
         1.5, 0.0, nan, nan},
    };
    for (const Case &c : cases) {
        Fixture f;
        Workbench *wb = f.open(writeLog(f.dir.filePath("ride.csv"), 21));
        QVERIFY2(wb, "module not loaded");
        QCOMPARE(wb->logCount(), 1);
        wb->setChannels({vorn::ChRpm, vorn::ChThrottlePercent});
        wb->showPage(0);
        wb->setView(0, 10);
        QWidget *plot = wb->plotView();
        c.act(wb, plot);
        const double a = wb->cursor(0), b = wb->cursor(1);
        const double pixel = (wb->viewTo() - wb->viewFrom()) / plot->width() * 2;
        if (std::isnan(c.a)) {
            QVERIFY2(std::abs(a - c.clickA) < pixel && std::abs(b - c.clickB) < pixel, c.name);
        } else {
            QVERIFY2(std::abs(a - c.a) < 1e-9 && std::abs(b - c.b) < 1e-9,
                     qPrintable(QStringLiteral("%1: %2 %3").arg(c.name).arg(a).arg(b)));
        }
        // Readout: rpm row, then throttle row.
        const QList<QStringList> rows = wb->readout();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][1], rpmText(a));
        QCOMPARE(rows[0][2], rpmText(b));
        // Minimum, maximum and mean take in the values at both cursors: rpm rises all the
        // way, so its extremes are the cursors' own; throttle falls from 95 to 20 % between
        // 2.0 and 2.5 s, so its maximum is the value at the earlier cursor.
        const double lo = std::min(a, b), hi = std::max(a, b);
        double sum = 1000 + 200 * lo, n = 1;
        for (int i = 0; i < 21; ++i)
            if (0.5 * i > lo + 1e-9 && 0.5 * i < hi - 1e-9)
                sum += 1000 + 100 * i, ++n;
        if (hi > lo)
            sum += 1000 + 200 * hi, ++n;
        QCOMPARE(rows[0][3], rpmText(lo));
        QCOMPARE(rows[0][4], rpmText(hi));
        QCOMPARE(rows[0][5], QString::number(sum / n, 'f', 2));
        QCOMPARE(rows[1][4], QString::number(std::clamp(95 - 150 * (lo - 2.0), 20.0, 95.0), 'f', 1));
        QVERIFY2(wb->cursorSpan().contains(QString::number(std::abs(b - a), 'f', 3)), qPrintable(wb->cursorSpan()));
        f.shot(wb, "graphs");
    }

    // Zoom with the wheel keeps the time under the mouse; a pan key moves the span unchanged;
    // a second log shifted by 1 s reads its own value one second earlier.
    {
        Fixture f;
        Workbench *wb = f.open(writeLog(f.dir.filePath("ride.csv"), 21));
        QVERIFY(wb);
        wb->setView(0, 10);
        QWidget *plot = wb->plotView();
        const QPoint at(wb->plotX(3.0), plot->height() / 2);
        QWheelEvent wheel(at, plot->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &wheel);
        QVERIFY(wb->viewTo() - wb->viewFrom() < 10 - 0.5);
        QVERIFY(std::abs(wb->plotX(3.0) - at.x()) <= 1);
        const double span = wb->viewTo() - wb->viewFrom(), from = wb->viewFrom();
        QTest::keyClick(wb->widget(), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(wb->viewFrom() > from);
        QVERIFY(std::abs((wb->viewTo() - wb->viewFrom()) - span) < 1e-9);

        QVERIFY(wb->addLog(writeLog(f.dir.filePath("other.csv"), 21, {}, 3000)));
        wb->setLogOffset(1, 1.0);
        wb->setChannels({vorn::ChRpm});
        wb->setCursors(4.0, 6.0);
        const QList<QStringList> rows = wb->readout();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1][1], rpmText(3.0, 3000));
        QCOMPARE(rows[1][2], rpmText(5.0, 3000));
        f.shot(wb, "overlay");
        wb->showPage(1);
        f.shot(wb, "scatter");
        wb->showPage(0);
        // The rows between the cursors come out as a log of their own.
        const QString csv = f.dir.filePath("cut.csv");
        QVERIFY(wb->exportCsv(csv));
        const vorn::LogContents cut = vorn::readLog(csv);
        QVERIFY(cut.ok);
        QCOMPARE(cut.rows.size(), std::size_t(5));   // 4.0, 4.5, ... 6.0
        QCOMPARE(cut.rows.front().rpm, 1800);
        const QString png = f.dir.filePath("view.png");
        QVERIFY(wb->exportPng(png));
        QVERIFY(!QImage(png).isNull());
    }
}

// A click (or arrows and Enter) on a cell puts the cursors on the time spent there; a second
// choice of the same cell goes on to its next stretch; the filter leaves rows out. The columns
// read the map's own speeds.
void LogViewTest::histogramCellMovesCursors()
{
    // Rows 0..9 in throttle row 9, column 3; rows 10..14 in row 5, column 5; rows 15..19
    // back in 9/3; row 20 in 0/0. Every row lasts 0.5 s.
    auto cellOf = [](int i) -> std::pair<int, int> {
        if (i < 10 || (i >= 15 && i < 20))
            return {9, 3};
        return i < 15 ? std::pair{5, 5} : std::pair{0, 0};
    };
    struct Case {
        const char *name;
        bool filter;   // throttle at or above 90 %
        QList<std::pair<int, int>> clicks;
        bool keys;     // the last cell chosen with the arrows and Enter instead
        double a, b;
        const char *info;
    };
    const Case cases[] = {
        {"first stretch", false, {{9, 3}}, false, 0.0, 5.0, "1 of 2"},
        {"same cell again: the next stretch", false, {{9, 3}, {9, 3}}, false, 7.5, 10.0, "2 of 2"},
        {"filtered to full throttle", true, {{9, 3}}, false, 0.0, 2.5, "1 of 1"},
        {"filter leaves the cell empty: cursors stay", true, {{5, 5}}, false, -1, -1, "column 6: no time"},
        {"keyboard", false, {{9, 3}}, true, 0.0, 5.0, "1 of 2"},
    };
    for (const Case &c : cases) {
        Fixture f;
        Workbench *wb = f.open(writeLog(f.dir.filePath("ride.csv"), 21, cellOf));
        QVERIFY(wb);
        wb->setCursors(-1, -1);
        wb->showPage(2);
        QWidget *view = wb->histogramView();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        if (c.filter) {
            auto *on = wb->widget()->findChild<QCheckBox *>("LogFilterOn");
            auto *channel = wb->widget()->findChild<QComboBox *>("LogFilterChannel");
            QVERIFY(on && channel);
            channel->setCurrentIndex(vorn::ChThrottlePercent);   // ≥ 90 is the default comparison
            on->setChecked(true);
        }
        for (const auto &[row, column] : c.clicks) {
            if (c.keys) {
                view->setFocus();
                // From the default selection (row 9, column 0) three to the right.
                for (int k = 0; k < column; ++k)
                    QTest::keyClick(view, Qt::Key_Right);
                QTest::keyClick(view, Qt::Key_Return);
            } else {
                QTest::mouseClick(view, Qt::LeftButton, {}, wb->histogramCell(row, column).center());
            }
        }
        QVERIFY2(std::abs(wb->cursor(0) - c.a) < 1e-9 && std::abs(wb->cursor(1) - c.b) < 1e-9,
                 qPrintable(QStringLiteral("%1: %2 %3").arg(c.name).arg(wb->cursor(0)).arg(wb->cursor(1))));
        auto *info = wb->widget()->findChild<QLabel *>("LogCellInfo");
        QVERIFY(info);
        QVERIFY2(info->text().contains(QLatin1String(c.info)), qPrintable(info->text()));
        if (c.a >= 0)   // the graphs show the stretch
            QVERIFY(wb->viewFrom() <= c.a && wb->viewTo() >= c.b);
        f.shot(wb, "histogram");
    }

    // The columns are captioned with the speeds of the map the log ran on (the tune kept
    // beside it), or numbered when it keeps none.
    for (const bool tune : {false, true}) {
        Fixture f;
        const QString log = writeLog(f.dir.filePath("ride.csv"), 21, cellOf);
        vorn::ParameterImage image;
        vorn::LoadDefaults(image);
        QStringList expected;
        for (int k = 0; k < vorn::kMapSize; ++k) {
            image.rpmAdv(k) = static_cast<std::uint8_t>(15 + 10 * k);
            expected << (tune ? QString::number(1500 + 1000 * k) : QString::number(k + 1));
        }
        if (tune)
            QVERIFY(vorn::saveTuneBesideLog(image, log));
        Workbench *wb = f.open(log);
        QVERIFY(wb);
        wb->showPage(2);
        QCOMPARE(wb->histogramColumns(), expected);
        QTest::mouseClick(wb->histogramView(), Qt::LeftButton, {}, wb->histogramCell(9, 3).center());
        const QString info = wb->widget()->findChild<QLabel *>("LogCellInfo")->text();
        QVERIFY2(info.contains(tune ? QLatin1String("4500 rpm") : QLatin1String("column 4")), qPrintable(info));
        if (tune)
            f.shot(wb, "histogram_speeds");
    }
}

// The marker key works only while recording; the note is asked for and the marker lands in
// the file beside the log at the log's time now (last row plus the time since it was written).
void LogViewTest::markerKey()
{
    struct Case {
        const char *name;
        bool recording;
        int answer;   // of the note box
        QString note;
        int expectMarkers;
    };
    const Case cases[] = {
        {"not recording", false, QDialog::Accepted, "x", 0},
        {"note given", true, QDialog::Accepted, "second gear, pull", 1},
        {"empty note", true, QDialog::Accepted, "", 1},
        {"box cancelled", true, QDialog::Rejected, "x", 0},
    };
    for (const Case &c : cases) {
        Fixture f;
        const QString log = writeLog(f.dir.filePath("rec.csv"), 9);   // last row at 4.0 s
        {
            QFile file(log);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-2), QFileDevice::FileModificationTime));
        }
        if (c.recording)
            f.recording = log;
        emit f.host.notifier.liveValuesDecoded();
        QAction *key = f.ui.markerAction();
        QVERIFY(f.host.placed.value(vorn::host::MenuPlace::Log).contains(key));
        QCOMPARE(key->shortcut(), QKeySequence(Qt::Key_F6));
        QCOMPARE(key->isEnabled(), c.recording);
        QString title;
        f.host.onDialog = [&](QDialog *d) {
            auto *box = qobject_cast<QInputDialog *>(d);
            title = d->windowTitle();
            if (box)
                box->setTextValue(c.note);
            return c.answer;
        };
        f.host.window.show();
        f.host.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.host.window));
        QTest::keyClick(&f.host.window, Qt::Key_F6);
        const std::vector<vorn::LogMarker> markers = vorn::loadMarkers(log);
        QCOMPARE(static_cast<int>(markers.size()), c.expectMarkers);
        if (c.expectMarkers) {
            QCOMPARE(markers.front().note, c.note);
            QVERIFY2(markers.front().timeS > 5.9 && markers.front().timeS < 7.0, qPrintable(QString::number(markers.front().timeS)));
            QVERIFY2(title.contains(QString::number(markers.front().timeS, 'f', 1)), qPrintable(title));
        }
    }
}

QTEST_MAIN(LogViewTest)
#include "logview_test.moc"
