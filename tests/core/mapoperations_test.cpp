// The map and servo-curve tools: selection operations, clipping, truncation, spreadsheet text.
#include "maps/MapOperations.h"

#include "link/Tune.h"

#include <QTest>

#include <functional>

using namespace vorn::maps;

namespace {

// Speed points 1000..10000 rpm, servo points 2000..11000 rpm, every cell `fill`.
vorn::ParameterImage image(int fill, int servoByte = 100)
{
    vorn::ParameterImage im;
    for (int k = 0; k < 10; ++k) {
        im.rpmAdv(k) = static_cast<std::uint8_t>(10 * (k + 1));
        im.servoRpm(k) = static_cast<std::uint8_t>(20 + 10 * k);
        im.servoMv(k) = static_cast<std::uint8_t>(servoByte);
        for (int r = 0; r < 10; ++r)
            im.advance(r, k) = static_cast<std::uint8_t>(fill);
    }
    return im;
}

struct Expect {
    Table table;
    Cell cell;
    int value;   // as shown: degrees, servo mV
};

struct Scenario {
    const char *name;
    std::function<vorn::ParameterImage()> start;
    std::function<Cells(vorn::ParameterImage &)> op;
    std::vector<Expect> expect;
    int changed;   // how many cells the operation reports
};

}  // namespace

class MapOperationsTest : public QObject {
    Q_OBJECT
private slots:
    void operations()
    {
        const Table A = Table::Advance, S = Table::Servo;
        // Uneven speed points: interpolation follows the axis, not the column count.
        auto uneven = [] {
            auto im = image(0);
            const int rpm[] = {10, 15, 20, 40, 60, 80, 100, 120, 160, 200};
            for (int k = 0; k < 10; ++k) {
                im.rpmAdv(k) = static_cast<std::uint8_t>(rpm[k]);
                im.advance(3, k) = 0;
            }
            im.advance(3, 1) = 3;     // 1500 rpm
            im.advance(3, 8) = 32;    // 16000 rpm: one degree per 500 rpm
            return im;
        };
        // Rows 4..9 are 20..100 % throttle: 10, .., 50 along them is half the percent.
        auto column = [] {
            auto im = image(0);
            im.advance(4, 2) = 10;
            im.advance(9, 2) = 50;
            return im;
        };
        auto corners = [] {
            auto im = image(0);
            // f(rpm, %) = rpm/1000 + %/5 at the corners of rows 4..9, columns 0..5.
            im.advance(4, 0) = 1 + 4;
            im.advance(4, 5) = 6 + 4;
            im.advance(9, 0) = 1 + 20;
            im.advance(9, 5) = 6 + 20;
            return im;
        };
        const std::vector<Scenario> table = {
            {"set clips at the top", [] { return image(5); },
             [&](auto &im) { return setCells(im, A, {0, 0, 1, 1}, 75); },
             {{A, {0, 0}, 60}, {A, {1, 1}, 60}, {A, {2, 2}, 5}}, 4},
            {"set with corners in any order", [] { return image(5); },
             [&](auto &im) { return setCells(im, A, {3, 4, 2, 2}, 7); },
             {{A, {2, 2}, 7}, {A, {3, 4}, 7}, {A, {3, 5}, 5}, {A, {1, 2}, 5}}, 6},
            {"add below the bottom clips at 0", [] { return image(2); },
             [&](auto &im) { return addToCells(im, A, {0, 0, 0, 2}, -3); },
             {{A, {0, 0}, 0}, {A, {0, 3}, 2}}, 3},
            {"add reports only cells that changed", [] { return image(60); },
             [&](auto &im) { return addToCells(im, A, {0, 0, 9, 9}, 1); }, {{A, {9, 9}, 60}}, 0},
            {"scale truncates toward zero", [] { return image(7); },
             [&](auto &im) { return scaleCells(im, A, {0, 0, 0, 0}, 150); }, {{A, {0, 0}, 10}}, 1},
            {"negative scale clips at 0, not wrapping", [] { return image(7); },
             [&](auto &im) { return scaleCells(im, A, {0, 0, 0, 0}, -150); }, {{A, {0, 0}, 0}}, 1},
            {"servo add truncates the mV to 20 mV bytes", [] { return image(0, 5); },
             [&](auto &im) { return addToCells(im, S, {0, 0, 0, 0}, -30); },
             {{S, {0, 0}, 60}, {S, {0, 1}, 100}}, 1},
            {"servo set clips at both ends of 20..5000 mV", [] { return image(0); },
             [&](auto &im) {
                 auto c = setCells(im, S, {0, 0, 0, 0}, 9000);
                 auto d = setCells(im, S, {0, 1, 0, 1}, -40);
                 c.insert(c.end(), d.begin(), d.end());
                 return c;
             },
             {{S, {0, 0}, 5000}, {S, {0, 1}, 20}}, 2},
            {"servo selection below the curve's one row is cut", [] { return image(0); },
             [&](auto &im) { return setCells(im, S, {0, 8, 3, 12}, 1000); },
             {{S, {0, 8}, 1000}, {S, {0, 9}, 1000}, {S, {0, 7}, 2000}}, 2},
            {"horizontal exact on data linear in rpm", uneven,
             [&](auto &im) { return interpolate(im, A, {3, 1, 3, 8}, Direction::Horizontal); },
             {{A, {3, 2}, 4}, {A, {3, 3}, 8}, {A, {3, 6}, 20}, {A, {3, 7}, 24}, {A, {3, 0}, 0},
              {A, {3, 9}, 0}},
             6},
            {"vertical exact on data linear in throttle", column,
             [&](auto &im) { return interpolate(im, A, {4, 2, 9, 2}, Direction::Vertical); },
             {{A, {5, 2}, 15}, {A, {6, 2}, 20}, {A, {7, 2}, 30}, {A, {8, 2}, 40}}, 4},
            {"bilinear exact on a plane", corners,
             [&](auto &im) { return interpolate(im, A, {4, 0, 9, 5}, Direction::Both); },
             {{A, {4, 2}, 3 + 4}, {A, {6, 3}, 4 + 8}, {A, {8, 4}, 5 + 16}, {A, {9, 1}, 2 + 20},
              {A, {7, 0}, 1 + 12}},
             32},
            {"servo horizontal between its ends", [] {
                 auto im = image(0);
                 im.servoMv(0) = 50;   // 1000 mV at 2000 rpm
                 im.servoMv(9) = 140;  // 2800 mV at 11000 rpm: 200 mV per 1000 rpm
                 return im;
             },
             [&](auto &im) { return interpolate(im, S, {0, 0, 0, 9}, Direction::Both); },
             {{S, {0, 1}, 1200}, {S, {0, 5}, 2000}, {S, {0, 8}, 2600}}, 7},   // point 5 already held 2000
            {"smooth leaves a constant map as it is", [] { return image(23); },
             [&](auto &im) { return smooth(im, A, {0, 0, 9, 9}); },
             {{A, {0, 0}, 23}, {A, {5, 5}, 23}, {A, {9, 9}, 23}}, 0},
            {"smooth weighs the middle, corner uses only its neighbours", [] {
                 auto im = image(0);
                 im.advance(0, 0) = 36;
                 im.advance(5, 5) = 32;
                 return im;
             },
             [&](auto &im) { return smooth(im, A, {0, 0, 9, 9}); },
             // corner: 36*4 / (4+2+2+1) = 16; middle 32*4/16 = 8; beside 32*2/16 = 4;
             // diagonal 32/16 = 2; the corner's neighbour (0,1): 36*2/12 = 6.
             {{A, {0, 0}, 16}, {A, {0, 1}, 6}, {A, {5, 5}, 8}, {A, {5, 6}, 4}, {A, {4, 4}, 2}},
             13},
            {"smooth reads neighbours before changing", [] {
                 auto im = image(0);
                 im.advance(0, 0) = 60;
                 return im;
             },
             [&](auto &im) { return smooth(im, A, {0, 0, 0, 1}); },
             {{A, {0, 0}, 26}, {A, {0, 1}, 10}}, 2},
            {"servo smooth 1-2-1 along the curve", [] {
                 auto im = image(0, 100);
                 im.servoMv(4) = 140;
                 return im;
             },
             [&](auto &im) { return smooth(im, S, {0, 0, 0, 9}); },
             {{S, {0, 3}, 2200}, {S, {0, 4}, 2400}, {S, {0, 5}, 2200}, {S, {0, 0}, 2000}}, 3},
            {"paste cut at the map's edge", [] { return image(1); },
             [&](auto &im) {
                 auto block = parseBlock("10\t11\t12\n13\t14\t15\n16\t17\t18\n").block;
                 return pasteBlock(im, A, {8, 8}, *block);
             },
             {{A, {8, 8}, 10}, {A, {8, 9}, 11}, {A, {9, 8}, 13}, {A, {9, 9}, 14}}, 4},
            {"paste of semicolons, decimals, blanks, out of range", [] { return image(1); },
             [&](auto &im) {
                 auto block = parseBlock("12,7;;-3.9\r\n99;+4\r\n").block;
                 return pasteBlock(im, A, {0, 0}, *block);
             },
             {{A, {0, 0}, 12}, {A, {0, 1}, 1}, {A, {0, 2}, 0}, {A, {1, 0}, 60}, {A, {1, 1}, 4}}, 4},
            {"whole map copy pastes back with its axes skipped", [] {
                 auto src = image(0);
                 for (int r = 0; r < 10; ++r)
                     for (int c = 0; c < 10; ++c)
                         src.advance(r, c) = static_cast<std::uint8_t>(r * 6 + c % 6);
                 auto im = image(0);
                 auto block = parseBlock(formatBlock(src, Table::Advance, wholeTable(Table::Advance), true)).block;
                 pasteBlock(im, Table::Advance, {0, 0}, *block);
                 return im;
             },
             [&](auto &im) { return Cells(im == image(0) ? 0 : 1); },
             {{A, {0, 0}, 0}, {A, {3, 4}, 22}, {A, {9, 9}, 57}}, 1},
        };
        for (const Scenario &s : table) {
            vorn::ParameterImage im = s.start();
            const Cells changed = s.op(im);
            QVERIFY2(static_cast<int>(changed.size()) == s.changed,
                     qPrintable(QStringLiteral("%1: %2 changed").arg(s.name).arg(changed.size())));
            for (const Expect &e : s.expect) {
                const int got = cellValue(im, e.table, e.cell);
                QVERIFY2(got == e.value, qPrintable(QStringLiteral("%1: cell %2,%3 is %4, want %5")
                                                        .arg(s.name).arg(e.cell.row)
                                                        .arg(e.cell.column).arg(got).arg(e.value)));
            }
        }
    }

    void copyText()
    {
        auto im = image(5);
        im.advance(0, 1) = 6;
        QCOMPARE(formatBlock(im, Table::Advance, {0, 0, 1, 1}, false), QString("5\t6\n5\t5\n"));
        const QStringList lines = formatBlock(im, Table::Advance, wholeTable(Table::Advance), true).split('\n');
        QCOMPARE(lines.size(), 12);   // axes line, ten rows, the final newline
        QCOMPARE(lines[0].split('\t').mid(0, 3), QStringList({"", "1000", "2000"}));
        QCOMPARE(lines[10].split('\t').mid(0, 2), QStringList({"100%", "5"}));
        QCOMPARE(formatBlock(im, Table::Servo, wholeTable(Table::Servo), true).split('\n')[1].split('\t').mid(0, 2),
                 QStringList({"mV", "2000"}));
    }

    void pasteRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("offending");
        QTest::addColumn<int>("line");     // of a number that reads two ways; 0 for none
        QTest::addColumn<int>("column");
        QTest::newRow("a word") << "12\tabc\n" << "abc" << 0 << 0;
        QTest::newRow("a unit") << "12 deg" << "12 deg" << 0 << 0;
        QTest::newRow("nothing") << "\n" << "\n" << 0 << 0;
        QTest::newRow("two points") << "1.2.3" << "1.2.3" << 0 << 0;
        QTest::newRow("grouped with a comma") << "1\t2\n3\t2,000\n" << "2,000" << 2 << 2;
        QTest::newRow("grouped with a point") << "1.500;7" << "1.500" << 1 << 1;
        QTest::newRow("grouped, negative") << "\t1000\n100%\t-4,500\n" << "-4,500" << 2 << 2;
        QTest::newRow("both marks") << "1,234.5" << "1,234.5" << 0 << 0;
    }
    void pasteRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, offending);
        QFETCH(int, line);
        QFETCH(int, column);
        const ParseResult r = parseBlock(text);
        QVERIFY(!r.block);
        QCOMPARE(r.offending, offending);
        QCOMPARE(r.ambiguousAt.has_value(), line != 0);
        if (line) {
            QCOMPARE(r.ambiguousAt->row, line);
            QCOMPARE(r.ambiguousAt->column, column);
        }
    }
};

QTEST_GUILESS_MAIN(MapOperationsTest)
#include "mapoperations_test.moc"
