// The map tools in the real window: key selection, an operation, the clipboard, heat colours.
#include "window/EditFixture.h"

#include "app/FieldPanels.h"
#include "host/Colors.h"
#include "maps/ui/MapTools.h"

#include <QClipboard>
#include <QtCharts>
#include <QTabWidget>

using editfixture::Window;
using editfixture::settle;
using vorn::maps::MapTools;

namespace {

// The Advance Map page with all ten throttle rows and cells 10 * row + column / 2.
void openMap(Window &w)
{
    w->Image.tpsMap() = 1;
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c)
            w->Image.advance(r, c) = static_cast<std::uint8_t>(5 * r + c / 2);
    w->ShowParameters();
    // The state an undo of the tools goes back to, recorded as a command's step.
    emit w->Notifier->editStepStarted(vorn::StepLabel::named("test map"));
    emit w->Notifier->imageEdited();
    w->ctl<QTabWidget>("PageControl1")->setCurrentWidget(w->ctl<QWidget>("TabSheetAdvance"));
    settle();
}

QLineEdit *cell(Window &w, int row, int col)
{
    return w->edit(QString::number(50 + 10 * row + col));
}

}  // namespace

class MapToolsTest : public QObject {
    Q_OBJECT
private slots:
    void selectByKeysThenSet()
    {
        Window w(true);
        QVERIFY(w.shown);
        openMap(w);
        QTest::mouseClick(cell(w, 2, 3), Qt::LeftButton);
        for (auto key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
            QTest::keyClick(cell(w, 2, 3), key, Qt::AltModifier | Qt::ShiftModifier);
        const auto sel = w->mapTools->selection(vorn::maps::Table::Advance);
        QVERIFY(sel);
        QCOMPARE(*sel, (vorn::maps::Rect{2, 3, 3, 5}));
        w.person.numberAnswers << 44;
        w->findChild<QAction *>("MenuMapSet")->trigger();
        QCOMPARE(w.person.numberTitles, QStringList{"Set to value"});
        for (int r = 1; r <= 4; ++r)
            for (int c = 2; c <= 6; ++c) {
                const bool in = r >= 2 && r <= 3 && c >= 3 && c <= 5;
                QCOMPARE(int(w->Image.advance(r, c)), in ? 44 : 5 * r + c / 2);
                QCOMPARE(cell(w, r, c)->text(), QString::number(w->Image.advance(r, c)));
            }
        // One undo step, named after the operation, brings all six cells back.
        QAction *undo = w->findChild<QAction *>("MenuUndo");
        QVERIFY(undo->text().contains("Set to value"));
        undo->trigger();
        for (int r = 2; r <= 3; ++r)
            for (int c = 3; c <= 5; ++c)
                QCOMPARE(int(w->Image.advance(r, c)), 5 * r + c / 2);
        QCOMPARE(cell(w, 2, 3)->text(), QString::number(10 + 1));
    }

    void clipboardRoundTrip()
    {
        Window w(true);
        QVERIFY(w.shown);
        openMap(w);
        QClipboard *clip = QGuiApplication::clipboard();
        // A block copied from two cells...
        w->mapTools->select(vorn::maps::Table::Advance, {1, 4, 2, 5});
        QTest::keyClick(cell(w, 1, 4), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clip->text(), QString("7\t7\n12\t12\n"));
        // ...pasted from the menu at the focused cell in the map's corner is cut at its edge
        // (without a selection of several cells Ctrl+V pastes text into the field).
        w->mapTools->clearSelection();
        clip->setText("1\t2\t3\n4\t5\t6\n7\t8\t9\n");
        QTest::mouseClick(cell(w, 8, 8), Qt::LeftButton);
        w->findChild<QAction *>("MenuMapPaste")->trigger();
        QCOMPARE(int(w->Image.advance(8, 8)), 1);
        QCOMPARE(int(w->Image.advance(8, 9)), 2);
        QCOMPARE(int(w->Image.advance(9, 9)), 5);
        QCOMPARE(cell(w, 9, 8)->text(), QString("4"));
        // Text that is not numbers: one message, nothing changes.
        const auto before = w->Image;
        const auto shown = w.messages.size();   // start-up's box about the missing port
        clip->setText("12\tabc");
        w->findChild<QAction *>("MenuMapPaste")->trigger();
        QCOMPARE(w.messages.size(), shown + 1);
        QVERIFY(w.messages.last().contains("abc"));
        QVERIFY(w->Image == before);
    }

    void heatColoursNeverHideTheLiveCell()
    {
        Window w(true);
        QVERIFY(w.shown);
        openMap(w);
        using vorn::ui::editBackground;
        const QColor window = vorn::ui::windowColor();
        w->mapTools->setHeatColours(true);
        // 3000 rpm at 30 % throttle: row 5, column 2 with speed points 1000..10000.
        w->Live.speed = 3000;
        w->Live.tpsPercent = 30;
        w->mapTools->select(vorn::maps::Table::Advance, {4, 1, 6, 3});
        w->HighlightActiveCell();
        QCOMPARE(w->LiveCell.throttleRow, 5);
        QCOMPARE(w->LiveCell.advanceColumn, 2);
        QCOMPARE(editBackground(cell(w, 5, 2)), vorn::ui::kLime);
        const QColor low = editBackground(cell(w, 0, 0)), high = editBackground(cell(w, 9, 9));
        QVERIFY(low != window && high != window && low != high);
        QVERIFY(editBackground(cell(w, 4, 1)) != low && editBackground(cell(w, 4, 1)) != window);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c)
                if (!(r == 5 && c == 2))
                    QVERIFY(editBackground(cell(w, r, c)) != vorn::ui::kLime);
        // The printout shows the plain page; the live cell keeps its lime.
        w->Printing = true;
        w->UpdateDisplayStates();
        QCOMPARE(editBackground(cell(w, 0, 0)), window);
        QCOMPARE(editBackground(cell(w, 4, 1)), window);
        QCOMPARE(editBackground(cell(w, 5, 2)), vorn::ui::kLime);
        w->Printing = false;
        w->UpdateDisplayStates();
        QCOMPARE(editBackground(cell(w, 0, 0)), low);
        // Off again: every cell but the live one on the window colour.
        w->mapTools->clearSelection();
        w->mapTools->setHeatColours(false);
        QCOMPARE(editBackground(cell(w, 9, 9)), window);
    }

    // Fields paint their own corners so that a change repaints no box behind them; what the
    // page shows must be the same pixels as when every box is repainted under them.
    void fieldsRepaintAloneLookingTheSame()
    {
        Window w(true);
        QVERIFY(w.shown);
        openMap(w);
        w->mapTools->setHeatColours(true);
        w->Live.speed = 3000;
        w->Live.tpsPercent = 30;
        w->HighlightActiveCell();
        cell(w, 2, 7)->setFocus();
        auto *group = w->ctl<QWidget>("GroupBox6");
        const QRect area(group->mapTo(&*w, QPoint()), group->size());
        const QList<QLineEdit *> fields = group->findChildren<QLineEdit *>();
        for (int round = 0; round < 2; ++round) {
            w->mapTools->select(vorn::maps::Table::Advance, vorn::maps::wholeTable(vorn::maps::Table::Advance));
            w->mapTools->run(MapTools::Op::Add, round ? -3 : 7);   // new heat colours on every cell
            w->mapTools->clearSelection();
            w->repaint();
            settle();
            w->repaint();
            int alone = 0;
            for (QLineEdit *f : fields)
                alone += f->testAttribute(Qt::WA_OpaquePaintEvent) && FieldPanelStyle::instance()->paintsOwnCorners(f);
            QCOMPARE(alone, fields.size());
            const QImage own = w->grab(area).toImage();
            for (QLineEdit *f : fields)
                FieldPanelStyle::instance()->forget(f);
            const QImage ordinary = w->grab(area).toImage();
            QCOMPARE(own.size(), ordinary.size());
            int differing = 0;
            for (int y = 0; y < own.height(); ++y)
                for (int x = 0; x < own.width(); ++x) {
                    const QRgb a = own.pixel(x, y), b = ordinary.pixel(x, y);
                    differing += std::abs(qRed(a) - qRed(b)) > 1 || std::abs(qGreen(a) - qGreen(b)) > 1
                                 || std::abs(qBlue(a) - qBlue(b)) > 1;
                }
            QCOMPARE(differing, 0);
        }
    }

    void mapViewOpensAndShowsTheTrail()
    {
        Window w;
        openMap(w);
        w->findChild<QAction *>("MenuMapView")->trigger();
        QWidget *view = w->mapTools->mapViewWindow();
        QVERIFY(view);
        QVERIFY(view->isVisible());
        // No OpenGL on the offscreen platform: the 3D tab says so, the charts work.
        QVERIFY(view->findChild<QLabel *>("LabelNo3D"));
        QChart *curves = view->findChild<QChartView *>("ChartCurves")->chart();
        auto series = [&](int i) { return static_cast<QXYSeries *>(curves->series()[i]); };
        // 60 live positions along row 9: the trail keeps the last 50, newest first.
        for (int n = 0; n < 60; ++n) {
            w->LiveCell = vorn::LiveCell{n % 10, false, 0, 9};
            emit w->Notifier->liveValuesDecoded();
        }
        QCOMPARE(view->property("trailLength").toInt(), 50);
        QXYSeries *newest = series(10);   // after the ten throttle rows
        QCOMPARE(newest->count(), 10);
        QCOMPARE(newest->at(0), QPointF(1000 * 10, 45 + 9 / 2));   // column 9: 10000 rpm
        // An edit shows at once, without a tick.
        w->mapTools->select(vorn::maps::Table::Advance, {9, 9, 9, 9});
        w->mapTools->run(MapTools::Op::Set, 12);
        QCOMPARE(series(9)->at(9), QPointF(10000, 12));
        QCOMPARE(newest->at(0), QPointF(10000, 12));
        // Rows in the page's order, 0 % first; one legend entry for the live cell and its trail.
        view->findChild<QTabWidget *>("MapViewTabs")->setCurrentIndex(1);
        QStringList legend;
        for (QLegendMarker *m : curves->legend()->markers())
            if (m->isVisible())
                legend << m->label();
        QCOMPARE(legend.size(), 11);
        QCOMPARE(legend.first(), QString("0%"));
        QCOMPARE(legend[9], QString("100%"));
        QCOMPARE(legend.last(), QString("live cell and its trail"));
        // A tick on each of the map's speed points, on the curves and on the servo curve.
        auto ticksOf = [](QChart *chart) {
            auto *axis = qobject_cast<QCategoryAxis *>(chart->axes(Qt::Horizontal).value(0));
            return axis ? axis->categoriesLabels() : QStringList();
        };
        auto points = [&](int offset) {
            QStringList p;
            for (int c = 0; c < 10; ++c)
                p << QString::number(100 * w->Image[offset + c]);
            return p;
        };
        QCOMPARE(ticksOf(curves), points(vorn::Off::RpmAdv));
        QCOMPARE(ticksOf(view->findChild<QChartView *>("ChartServo")->chart()), points(vorn::Off::ServoRpm));
        // The advance axis spans the map's own values; rows 0 % and 30 % in colours of their own.
        w->mapTools->select(vorn::maps::Table::Advance, {0, 0, 9, 9});
        w->mapTools->run(MapTools::Op::Set, 25);
        auto *advance = qobject_cast<QValueAxis *>(curves->axes(Qt::Vertical).value(0));
        QVERIFY(advance);
        QCOMPARE(advance->min(), 20.0);
        QCOMPARE(advance->max(), 30.0);
        QVERIFY(series(0)->color() != series(5)->color());
        // Closed, the view follows no reply; opened again, its trail starts anew.
        view->hide();
        for (int n = 0; n < 5; ++n)
            emit w->Notifier->liveValuesDecoded();
        QCOMPARE(view->property("trailLength").toInt(), 0);
        view->show();
        emit w->Notifier->liveValuesDecoded();
        QCOMPARE(view->property("trailLength").toInt(), 1);
    }
};

QTEST_MAIN(MapToolsTest)
#include "maptools_test.moc"
