// The advance finder end to end: vorn4-cli finder run --rounds 2 against the simulated
// motorcycle from the stock row 6 degrees retarded (up to 14 degrees below the model's best)
// with the symmetric engine: every cell of the full-throttle row from 5,000 rpm up decided,
// none proposed above the ceiling, and the best found near the model's. The aim is every cell
// within a degree and the median within 0.4; on a busy machine the same run has come to a
// worst of 0.46 to 0.89 and a median of 0.29 to 0.67 (the timing of the replies moves). With
// other tests running beside it, one cell's fit has come 9.8 degrees too high (its proposal,
// held to a step beyond the advances tried, 0.8 from the model's best), and another run's
// proposals came to 3.1 off with a median of 0.9. So the aim is measured in bench/finder.cpp,
// and this test holds what must never go wrong: every cell decided, none above the ceiling,
// every proposal within one step (5 degrees) of the model's best, and the fits' median within
// 1.5 degrees, which a finder that misreads the cells or fits the wrong side misses by far.
#include "support/FinderSim.h"

#include <QTemporaryDir>
#include <QTest>

class FinderSimTest : public QObject {
    Q_OBJECT
private slots:
    void twoRoundsFromRetarded();
};

void FinderSimTest::twoRoundsFromRetarded()
{
    QTemporaryDir dir;
    const findersim::Figures f = findersim::runFromStock(dir.path(), -6, 1.0, 5, VORN4_SIM_EXE, VORN4_CLI_EXE);
    QVERIFY2(f.ran, qPrintable(f.error));
    qInfo("%s", qPrintable(f.detail));
    qInfo("worst %.2f, median %.2f over %d cells", f.worst, f.median, f.cells);
    QVERIFY(f.cells >= 6);
    QCOMPARE(f.decided, f.cells);
    QVERIFY(!f.aboveCeiling);
    QVERIFY2(f.proposalWorst <= 5.0, qPrintable(QString::number(f.proposalWorst)));
    QVERIFY2(f.median <= 1.5, qPrintable(QString::number(f.median)));
}

QTEST_GUILESS_MAIN(FinderSimTest)
#include "finder_sim_test.moc"
