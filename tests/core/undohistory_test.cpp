// Undo and redo sequences of the parameter image: steps, names, Read in the middle, depth.
#include "history/HistoryTexts.h"
#include "history/UndoHistory.h"

#include <QTest>

using vorn::ParameterImage;

class UndoHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void sequences_data();
    void sequences();
};

// Operations, separated by spaces:
//   L<n>   the limiter byte set to n and recorded (a field edit)
//   R      a Read: the unit's block 0 arrives (byte 0 'X'), limiter 90 and base advance 12
//   B      only block 0 changes (a reply of the unit), recorded
//   C<n>   n map edits, edit k setting cell [0][0] to k % 50 + 1
//   U, D   undo, redo;  UA undo everything
void UndoHistoryTest::sequences_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("ops");
    QTest::addColumn<int>("limiter");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("block0");
    QTest::addColumn<int>("undos");
    QTest::addColumn<int>("redos");
    QTest::addColumn<QString>("undoName");
    QTest::addColumn<QString>("redoName");

    const QString arrow = QString::fromUtf8(" → ");
    QTest::newRow("edit, edit, undo") << 1000 << "L105 L100 U" << 105 << 20 << 0 << 1 << 1
                                      << "Limiter 11,000" + arrow + "10,500 rpm"
                                      << "Limiter 10,500" + arrow + "10,000 rpm";
    QTest::newRow("unchanged image makes no step") << 1000 << "L110" << 110 << 20 << 0 << 0 << 0 << "" << "";
    QTest::newRow("block 0 alone makes no step") << 1000 << "B" << 110 << 20 << int('X') << 0 << 0 << "" << "";
    QTest::newRow("read in the middle, undone")
        << 1000 << "L105 R L100 U U" << 105 << 20 << int('X') << 1 << 2 << "Limiter 11,000" + arrow + "10,500 rpm"
        << "Read from unit";
    QTest::newRow("read redone keeps the unit's block 0")
        << 1000 << "L105 R U B D" << 90 << 20 << int('X') << 2 << 0 << "Read from unit" << "";
    QTest::newRow("new step drops redo") << 1000 << "L105 U L120" << 120 << 20 << 0 << 1 << 0
                                         << "Limiter 11,000" + arrow + "12,000 rpm" << "";
    QTest::newRow("undo beyond the start") << 1000 << "L105 U U U" << 110 << 20 << 0 << 0 << 1 << ""
                                           << "Limiter 11,000" + arrow + "10,500 rpm";
    QTest::newRow("depth overflow keeps the newest 500")
        << 500 << "C600 UA" << 110 << 1 << 0 << 0 << 500 << "" << "Advance 1,000 rpm / 0 % 1" + arrow + "2 °";
}

void UndoHistoryTest::sequences()
{
    QFETCH(int, depth);
    QFETCH(QString, ops);
    QFETCH(int, limiter);
    QFETCH(int, cell);
    QFETCH(int, block0);
    QFETCH(int, undos);
    QFETCH(int, redos);
    QFETCH(QString, undoName);
    QFETCH(QString, redoName);

    ParameterImage img;
    img.limiter2() = 110;
    img.rpmAdv(0) = 10;
    img.tpsMap() = 1;
    img.advance(0, 0) = 20;
    vorn::UndoHistory h(depth);
    h.reset(img);
    for (const QString &op : ops.split(' ', Qt::SkipEmptyParts)) {
        const int n = op.mid(1).toInt();
        if (op.startsWith('L')) {
            img.limiter2() = static_cast<std::uint8_t>(n);
            h.record(img);
        } else if (op == "R" || op == "B") {
            img[0] = 'X';
            if (op == "R") {
                img.limiter2() = 90;
                img.baseAdv() = 12;
            }
            h.record(img, {&vorn::htext::StepRead});
        } else if (op.startsWith('C')) {
            for (int k = 1; k <= n; ++k) {
                img.advance(0, 0) = static_cast<std::uint8_t>(k % 50 + 1);
                h.record(img);
            }
        } else if (op == "U") {
            img = h.undo(img);
        } else if (op == "D") {
            img = h.redo(img);
        } else if (op == "UA") {
            while (h.canUndo())
                img = h.undo(img);
        }
        QCOMPARE(h.recorded(), img);
    }
    QCOMPARE(int(img.limiter2()), limiter);
    QCOMPARE(int(img.advance(0, 0)), cell);
    QCOMPARE(int(img[0]), block0);
    QCOMPARE(h.undoCount(), undos);
    QCOMPARE(h.redoCount(), redos);
    QCOMPARE(h.undoName(0), undoName);
    QCOMPARE(h.redoName(0), redoName);
}

QTEST_GUILESS_MAIN(UndoHistoryTest)
#include "undohistory_test.moc"
