// The map tools against a stand-in host: what an operation, a paste or the heat colours
// ask of the host, without the window.
#include "maps/ui/MapTools.h"
#include "mapview/MapScale.h"
#include "support/FakeHost.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using vorn::maps::Cell;
using vorn::maps::MapTools;
using vorn::maps::Table;

namespace {

// Cells 10 * row + column / 2 ... as numbers no operation below produces by accident.
void fillMap(FakeHost &host)
{
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c)
            host.img.advance(r, c) = static_cast<std::uint8_t>(3 * r + c);
    host.showImage();
}

}  // namespace

class MapToolsFeatureTest : public QObject {
    Q_OBJECT
private slots:
    void whatTheHostIsAsked()
    {
        struct Row {
            const char *name;
            std::function<void(FakeHost &, MapTools &)> act;
            int steps;                 // named edits the host was given
            const char *stepGerman;    // the newest step's name in German, shown after the edit
            int messages, hints;
            std::vector<std::pair<Cell, int>> cells;   // advance cells after it
            const char *settingsLine;  // in the settings file (or beside it, see below)
        };
        const Row rows[] = {
            {"Set on a selection: one edit, named in the language shown",
             [](FakeHost &h, MapTools &t) {
                 t.select(Table::Advance, {2, 3, 3, 4});
                 h.numberAnswers.push_back(44);
                 t.actionFor(MapTools::Op::Set)->trigger();
             },
             1, "Auf Wert setzen", 0, 0, {{{2, 3}, 44}, {{3, 4}, 44}, {{2, 2}, 8}, {{4, 4}, 16}}, nullptr},
            {"Scale cancelled: no edit",
             [](FakeHost &h, MapTools &t) {
                 t.select(Table::Advance, {0, 0, 9, 9});
                 h.numberAnswers.push_back(std::nullopt);
                 t.actionFor(MapTools::Op::Scale)->trigger();
             },
             0, nullptr, 0, 0, {{{9, 9}, 36}}, nullptr},
            {"Smooth on another page: a hint, no edit",
             [](FakeHost &h, MapTools &t) {
                 t.select(Table::Advance, {0, 0, 9, 9});
                 h.openTable.reset();
                 t.actionFor(MapTools::Op::Smooth)->trigger();
             },
             0, nullptr, 0, 1, {{{0, 0}, 0}}, nullptr},
            {"Paste: one edit",
             [](FakeHost &, MapTools &t) {
                 t.select(Table::Advance, {8, 8, 8, 8});
                 QGuiApplication::clipboard()->setText("1\t2\n3\t4\n");
                 t.actionFor(MapTools::Op::Paste)->trigger();
             },
             1, "Zellen einfügen", 0, 0, {{{8, 8}, 1}, {{9, 9}, 4}, {{7, 7}, 28}}, nullptr},
            {"Paste of a grouped thousand: refused, the cell named",
             [](FakeHost &h, MapTools &t) {
                 h.lang = 1;
                 t.select(Table::Advance, {0, 0, 0, 0});
                 QGuiApplication::clipboard()->setText("5\t6\n7\t2.000\n");
                 t.actionFor(MapTools::Op::Paste)->trigger();
             },
             0, nullptr, 1, 0, {{{0, 0}, 0}, {{1, 1}, 4}}, nullptr},
            {"Heat colours on: saved through the host's settings",
             [](FakeHost &, MapTools &t) { t.heatAction()->trigger(); },
             0, nullptr, 0, 0, {}, "HeatColours=1"},
        };
        for (const Row &row : rows) {
            QTemporaryDir dir;
            FakeHost host(dir.filePath("vorn4.ini"));
            fillMap(host);
            MapTools tools(host, host, host, host.notifier);
            row.act(host, tools);
            QVERIFY2(int(host.steps.size()) == row.steps, row.name);
            if (row.stepGerman)
                QCOMPARE(host.steps.back().resolve(1), QString::fromUtf8(row.stepGerman));
            QVERIFY2(host.messages.size() == row.messages, row.name);
            QVERIFY2(host.hints.size() == row.hints, row.name);
            if (row.messages)
                QVERIFY2(host.messages.last().contains("Zeile 2, Spalte 2") && host.messages.last().contains("2.000"),
                         qPrintable(host.messages.last()));
            for (const auto &[cell, value] : row.cells)
                QVERIFY2(host.img.advance(cell.row, cell.column) == value, row.name);
            if (row.settingsLine) {
                QFile ini(dir.filePath("vorn4.ini"));
                QVERIFY(ini.open(QIODevice::ReadOnly));
                QVERIFY2(ini.readAll().contains(row.settingsLine), row.name);
            }
        }
    }

    // A settings file too large to read whole keeps every byte; the choice goes beside it.
    void heatColoursNeverReplaceAnUnreadableFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("vorn4.ini");
        QByteArray big = "[PORTS]\r\nCom1=/dev/ttyUSB0\r\n[OTHER]\r\n";
        while (big.size() < 1400 * 1024)
            big += "Key=a value someone else keeps here\r\n";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(big);
        f.close();
        FakeHost host(path);
        MapTools tools(host, host, host, host.notifier);
        tools.heatAction()->trigger();
        QVERIFY(tools.heatColours());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == big);
        QFile beside(host.settings().besidePath());
        QVERIFY(beside.open(QIODevice::ReadOnly));
        QVERIFY(beside.readAll().contains("HeatColours=1"));
    }

    // The cells' colours the host paints with: selection and heat on screen, plain on paper.
    void cellColoursGoToTheHost()
    {
        QTemporaryDir dir;
        FakeHost host(dir.filePath("vorn4.ini"));
        fillMap(host);
        auto tools = std::make_unique<MapTools>(host, host, host, host.notifier);
        QVERIFY(host.colours);
        const QColor plain = host.colours(Table::Advance, {0, 0});
        tools->select(Table::Advance, {1, 1, 1, 1});
        const QColor selected = host.colours(Table::Advance, {1, 1});
        QVERIFY(selected != plain);
        tools->setHeatColours(true);
        QVERIFY(host.colours(Table::Advance, {0, 0}) != host.colours(Table::Advance, {9, 9}));
        host.isPrinting = true;
        QCOMPARE(host.colours(Table::Advance, {1, 1}), plain);
        QCOMPARE(host.colours(Table::Advance, {9, 9}), plain);
        // Typing in a cell ends the selection: that one field is being edited now.
        QVERIFY(tools->selection(Table::Advance));
        QTest::keyClicks(host.cellEdit(Table::Advance, {2, 2}), "7");
        QVERIFY(!tools->selection(Table::Advance));
        tools.reset();
        QVERIFY(!host.colours);   // the host's own colours once the tools are gone
    }

    // The map view's scale follows the map shown, and its ten rows tell apart.
    void mapViewScaleAndColours()
    {
        using vorn::mapview::AxisRange;
        struct Row {
            const char *name;
            std::vector<std::uint8_t> cells;
            AxisRange advance;
        };
        const Row rows[] = {
            {"a flat map: 10° around it", {30, 30, 30}, {25, 35, 5}},
            {"all zero: from 0, 10° high", {0, 0}, {0, 10, 5}},
            {"one degree apart: widened to 10°", {12, 13}, {10, 20, 5}},
            {"a street map", {20, 24, 30}, {15, 35, 5}},
            {"a wide span: ticks of 10°", {10, 45}, {0, 50, 10}},
            {"the whole scale: room above 60°", {0, 60}, {0, 70, 10}},
            {"a high narrow map: not from 0", {48, 52, 55}, {45, 60, 5}},
        };
        for (const Row &r : rows)
            QVERIFY2(vorn::mapview::advanceAxis(r.cells) == r.advance, r.name);

        // Speed points in hundreds of rpm; one that does not rise adds no tick.
        const std::uint8_t points[] = {10, 15, 20, 20, 35, 30, 120};
        QCOMPARE(vorn::mapview::speedTicks(points), (std::vector<int>{1000, 1500, 2000, 3500, 12000}));

        // Colours apart by a weighted RGB distance (0 black to white about 765).
        auto distance = [](vorn::mapview::Rgb a, vorn::mapview::Rgb b) {
            const double r = (a.red + b.red) / 2.0;
            const int dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
            return std::sqrt((2 + r / 256) * dr * dr + 4 * dg * dg + (2 + (255 - r) / 256) * db * db);
        };
        const vorn::mapview::Rgb lime{0, 255, 0}, white{255, 255, 255};
        for (int i = 0; i < 10; ++i) {
            const auto c = vorn::mapview::throttleRowColour(i);
            for (const auto other : {vorn::mapview::kTrailColour, lime, white})
                QVERIFY2(distance(c, other) > 100, qPrintable(QString::number(i)));
            for (int j = 0; j < i; ++j)
                QVERIFY2(distance(c, vorn::mapview::throttleRowColour(j)) > 100,
                         qPrintable(QStringLiteral("rows %1 and %2").arg(i).arg(j)));
        }
    }
};

QTEST_MAIN(MapToolsFeatureTest)
#include "maptools_test.moc"
