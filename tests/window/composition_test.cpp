// Tests that the main window is composed as designed: named controls, menus, shortcuts, timer.
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"
#include "link/Port.h"
#include "app/UpDown.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

class CompositionTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void namedControlsHaveTheirKinds_data();
    void namedControlsHaveTheirKinds();
    void repeatedControlsExist();
    void menuTreeAndShortcuts();
    void pagesInOrderAndDesignSize();
    void timerTicksEvery55ms();
    void hintsSplitIntoTooltipAndStatusBar();
    void startupHidesStatusAndTestLabels();
    void toolButtonsDrawTheStyleIcons();

private:
    QTemporaryDir *dir_ = nullptr;
    ScriptedInteraction answers_;
    TFormHlav *form_ = nullptr;
};

void CompositionTest::init()
{
    dir_ = new QTemporaryDir;
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    answers_.answer = 0;
    // No real serial device is touched: every COM port fails to open.
    testPortOpener = [](const QString &, QString *error) -> std::unique_ptr<vorn::PortIo> {
        if (error)
            *error = QStringLiteral("no port in tests");
        return nullptr;
    };
    form_ = new TFormHlav;
    form_->setUserInteraction(&answers_);
    form_->setPortOpener(testPortOpener);
    form_->FormCreate({});
}

void CompositionTest::cleanup()
{
    form_->close();
    delete form_;
    form_ = nullptr;
    delete dir_;
}

void CompositionTest::namedControlsHaveTheirKinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    const char *const rows[][2] = {
        {"GroupBoxToolBar", "QGroupBox"},   {"SpeedButton6", "QToolButton"},
        {"SpeedButton5", "QToolButton"},    {"SpeedButton7", "QToolButton"},
        {"SpeedButtonPrint", "QToolButton"}, {"ButtonRead", "QPushButton"},
        {"BitBtnVerify", "QPushButton"},    {"BitBtnProgram", "QPushButton"},
        {"LabelSpojeni", "QLabel"},         {"PageControl1", "QTabWidget"},
        {"EditOmez2", "QLineEdit"},         {"UpDownOmez2", "UpDown"},
        {"EditPilotLight", "QLineEdit"},    {"EditClutchTime", "QLineEdit"},
        {"EditClutchPause", "QLineEdit"},   {"EditPocSynchro", "QLineEdit"},
        {"GroupBoxTps", "QGroupBox"},       {"EditTps0", "QLineEdit"},
        {"EditTps100", "QLineEdit"},        {"BitBtnTps0", "QPushButton"},
        {"BitBtnTps100", "QPushButton"},    {"GroupBoxAkt", "QGroupBox"},
        {"CheckBoxAktBlok1", "QCheckBox"},  {"CheckBoxAktClutch", "QCheckBox"},
        {"CheckBoxBuzDlouhe", "QCheckBox"}, {"CheckBoxProgHned", "QCheckBox"},
        {"LabelVerze1", "QLabel"},          {"LabelVerze3", "QLabel"},
        {"LabelFile1", "QLabel"},           {"LabelFile2", "QLabel"},
        {"LabelPocetProgramovani", "QLabel"}, {"ImageLogo3", "QLabel"},
        {"LabelBike", "QLabel"},            {"ComboBoxBike", "QComboBox"},
        {"GroupBoxSpecial", "QGroupBox"},   {"ComboBoxSynchro", "QComboBox"},
        {"LabelSynchro", "QLabel"},         {"EditPocPalcu", "QLineEdit"},
        {"LabelPocPalcu", "QLabel"},        {"EditPocKanalu", "QLineEdit"},
        {"LabelPocKanalu", "QLabel"},       {"LabelLobe", "QLabel"},
        {"LabelHrana2", "QLabel"},          {"LabelSnimac2", "QLabel"},
        {"EditKompenz1", "QLineEdit"},      {"EditKompenz2", "QLineEdit"},
        {"GroupBoxRpm", "QGroupBox"},       {"EditRpmPulsu", "QLineEdit"},
        {"EditRpmKorekce", "QLineEdit"},    {"CheckBoxInvInput", "QCheckBox"},
        {"GroupBox6", "QGroupBox"},         {"LabelRpm1", "QLabel"},
        {"CheckBoxTpsMapa", "QCheckBox"},   {"BitBtnAdvMinus", "QPushButton"},
        {"BitBtnAdvPlus", "QPushButton"},   {"CheckBoxIgnAll", "QCheckBox"},
        {"EditBaseAdv", "QLineEdit"},       {"LabelBaseAdv", "QLabel"},
        {"CheckBoxPrivEnable", "QCheckBox"}, {"GroupBoxPrivera", "QGroupBox"},
        {"EditPrivHyster", "QLineEdit"},    {"BitBtnServoMinus", "QPushButton"},
        {"BitBtnServoPlus", "QPushButton"}, {"CheckBoxServoAll", "QCheckBox"},
        {"ImageLogo", "QLabel"},            {"LabelRpm", "QLabel"},
        {"CGaugeRpm", "QProgressBar"},      {"LabelTpsMon", "QLabel"},
        {"CGaugeTps", "QProgressBar"},      {"LabelNapeti", "QLabel"},
        {"LabelPriveraPoz", "QLabel"},      {"LabelPriveraMer", "QLabel"},
        {"LabelBlocking1", "QLabel"},       {"LabelMonPilotLight", "QLabel"},
        {"LabelClutchMon", "QLabel"},       {"LabelHlaseni", "QLabel"},
        {"CGauge", "QProgressBar"},         {"StatusBar1", "QStatusBar"},
        {"LabelMonSnimac1", "QLabel"},      {"LabelMonSnimac2", "QLabel"},
        {"Label5", "QLabel"},               {"Label6", "QLabel"},
        {"LabelServoHyster", "QLabel"},     {"LabelOmez2", "QLabel"},
        {"LabelPilotLight", "QLabel"},      {"LabelClutchTime", "QLabel"},
        {"LabelClutchPause", "QLabel"},     {"LabelPocSynchro", "QLabel"},
        {"LabelRpmPulsu", "QLabel"},        {"LabelRpmKorekce", "QLabel"},
        {"LabelTps0", "QLabel"},            {"LabelTps100", "QLabel"},
    };
    for (const auto &r : rows)
        QTest::newRow(r[0]) << QString(r[0]) << QString(r[1]);
}

void CompositionTest::namedControlsHaveTheirKinds()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QObject *o = form_->findChild<QObject *>(name);
    QVERIFY2(o, qPrintable(name));
    QVERIFY2(o->inherits(kind.toLatin1()), qPrintable(name + " is " + o->metaObject()->className()));
}

void CompositionTest::repeatedControlsExist()
{
    QStringList missing;
    auto need = [&](const QString &name, const char *kind) {
        QObject *o = form_->findChild<QObject *>(name);
        if (!o || !o->inherits(kind))
            missing << name;
    };
    for (int n = 50; n <= 149; ++n) {
        need(QStringLiteral("Edit%1").arg(n), "QLineEdit");
        need(QStringLiteral("UpDown%1").arg(n), "UpDown");
    }
    for (int k = 1; k <= 10; ++k) {
        for (const char *f : {"RpmAdv", "RpmPriv", "NapPriv"}) {
            need(QStringLiteral("Edit%1%2").arg(f).arg(k), "QLineEdit");
            need(QStringLiteral("UpDown%1%2").arg(f).arg(k), "UpDown");
        }
        need(QStringLiteral("LabelTps%1").arg(k), "QLabel");
        need(QStringLiteral("CSpinButton%1").arg(k), "CSpinButton");
    }
    for (int ch = 1; ch <= 4; ++ch) {
        need(QStringLiteral("GroupBoxPalec%1").arg(ch), "QGroupBox");
        need(QStringLiteral("LabelAdvance%1").arg(ch), "QLabel");
        for (const char *k : {"Zac", "End"}) {
            need(QStringLiteral("EditPalec%1%2").arg(ch).arg(k), "QLineEdit");
            need(QStringLiteral("UpDownPalec%1%2").arg(ch).arg(k), "UpDown");
            need(QStringLiteral("LabelPalec%1%2").arg(ch).arg(k), "QLabel");
            need(QStringLiteral("CheckBoxPalec%1%2H2").arg(ch).arg(k), "QCheckBox");
            need(QStringLiteral("CheckBoxPalec%1%2P2").arg(ch).arg(k), "QCheckBox");
        }
    }
    for (int i = 1; i <= 8; ++i)
        need(QStringLiteral("LabelTest%1").arg(i), "QLabel");
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    // Each spinner is paired with the edit of the same number.
    QCOMPARE(form_->upDown("77")->associate(), form_->edit("77"));
    QCOMPARE(form_->upDown("Omez2")->associate(), form_->edit("Omez2"));
}

void CompositionTest::menuTreeAndShortcuts()
{
    const QStringList tops = {"MenuFile", "MenuCom", "MenuDevice", "MenuTools", "MenuLanguage", "MenuHelp"};
    // The specified menus in their order; added menus (Log after Device) stand between them.
    QStringList bar, specified;
    for (QAction *a : form_->menuBar()->actions()) {
        bar << a->menu()->objectName();
        if (tops.contains(bar.last()))
            specified << bar.last();
    }
    QCOMPARE(specified, tops);
    QCOMPARE(bar.indexOf("MenuLog"), bar.indexOf("MenuDevice") + 1);

    auto items = [&](const QString &menu) {
        QStringList names;
        for (QAction *a : form_->findChild<QMenu *>(menu)->actions())
            if (a->objectName() != QLatin1String("MenuRestorePoints")   // added beside them
                && a->objectName() != QLatin1String("MenuArchive"))
                names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return names;
    };
    QCOMPARE(items("MenuFile"), (QStringList{"MenuNew", "-", "MenuOpen", "-", "MenuSave", "-", "MenuPrint",
                                             "MenuPrintAll", "-", "MenuExit"}));
    QStringList coms;
    for (int n = 1; n <= 10; ++n)
        coms << QStringLiteral("MenuCom%1").arg(n);
    QCOMPARE(items("MenuCom"), coms + QStringList({"-", "MenuPortSettings"}));   // the chooser added last
    QCOMPARE(items("MenuDevice"), (QStringList{"MenuRead", "MenuVerify", "MenuProgram"}));
    // The advance finder added behind the window's own items.
    QCOMPARE(items("MenuTools"), (QStringList{"AdvanceMinus", "AdvancePlus", "-", "MenuAdvanceFinder"}));
    QCOMPARE(items("MenuLanguage"), (QStringList{"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"}));
    QCOMPARE(items("MenuHelp"), (QStringList{"MenuContens", "MenuAbout"}));

    const QList<QPair<QString, QKeySequence>> keys = {
        {"MenuNew", QKeySequence(Qt::CTRL | Qt::Key_N)}, {"MenuOpen", QKeySequence(Qt::Key_F3)},
        {"MenuSave", QKeySequence(Qt::Key_F2)},          {"MenuPrint", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"MenuRead", QKeySequence(Qt::Key_F7)},          {"MenuVerify", QKeySequence(Qt::Key_F8)},
        {"MenuProgram", QKeySequence(Qt::Key_F9)},       {"AdvanceMinus", QKeySequence(Qt::Key_F4)},
        {"AdvancePlus", QKeySequence(Qt::Key_F5)},       {"MenuContens", QKeySequence(Qt::Key_F1)},
    };
    for (const auto &[name, key] : keys)
        QCOMPARE(form_->action(name)->shortcut(), key);
    QVERIFY(form_->action("MenuPrintAll")->shortcut().isEmpty());
}

void CompositionTest::pagesInOrderAndDesignSize()
{
    auto *tabs = form_->ctl<QTabWidget>("PageControl1");
    QCOMPARE(tabs->count(), 4);
    const QStringList pages = {"TabSheetRuzne", "TabSheetBike", "TabSheetAdvance", "TabSheetServo"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(tabs->widget(i)->objectName(), pages[i]);
    QCOMPARE(form_->size(), QSize(1012, 712));
    QCOMPARE(form_->ctl<QComboBox>("ComboBoxBike")->count(), 27);
    QCOMPARE(form_->ctl<QComboBox>("ComboBoxSynchro")->count(), 6);
    QCOMPARE(form_->ctl<QProgressBar>("CGauge")->maximum(), 5);
}

void CompositionTest::timerTicksEvery55ms()
{
    auto *timer = form_->findChild<QTimer *>("Timer1");
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 55);
    QVERIFY(timer->isActive());
    QSignalSpy ticks(timer, &QTimer::timeout);
    QVERIFY(ticks.wait(2000));
}

void CompositionTest::hintsSplitIntoTooltipAndStatusBar()
{
    auto *label = form_->ctl<QLabel>("LabelRpm1");
    TFormHlav::setHint(label, "Round per Minute|Speed - Round per Minute");
    QCOMPARE(label->toolTip(), QString("Round per Minute"));
    QCOMPARE(label->statusTip(), QString("Speed - Round per Minute"));
    TFormHlav::setHint(label, "Tours minute");
    QCOMPARE(label->toolTip(), QString("Tours minute"));
    QCOMPARE(label->statusTip(), QString("Tours minute"));

    // The status bar shows the long hint of what the mouse is over, also for menu items.
    QStatusTipEvent tip("Speed - Round per Minute");
    QCoreApplication::sendEvent(label, &tip);
    QCOMPARE(form_->ctl<QStatusBar>("StatusBar1")->currentMessage(), QString("Speed - Round per Minute"));
    form_->action("AdvanceMinus")->showStatusText(form_);
    QCOMPARE(form_->ctl<QStatusBar>("StatusBar1")->currentMessage(), QString("Take off 1 degree of curve A"));
}

// Start-up itself hides the transfer status and the diagnostic labels: they are shown before
// it runs, so the check fails if those steps go missing.
void CompositionTest::startupHidesStatusAndTestLabels()
{
    TFormHlav form;
    form.setUserInteraction(&answers_);
    QStringList names{"LabelHlaseni", "CGauge"};
    for (int i = 1; i <= 8; ++i)
        names << QStringLiteral("LabelTest%1").arg(i);
    for (const QString &name : names)
        form.ctl<QWidget>(name)->setVisible(true);
    form.setPortOpener(testPortOpener);
    form.FormCreate({});
    QVERIFY(!form.TestMode);
    for (const QString &name : names)
        QVERIFY2(form.ctl<QWidget>(name)->isHidden(), qPrintable(name));

    int checked = 0;
    for (int n = 1; n <= 10; ++n)
        checked += form_->action(QStringLiteral("MenuCom%1").arg(n))->isChecked() ? 1 : 0;
    QCOMPARE(checked, 1);
    QVERIFY(form_->action("MenuCom1")->isChecked());
}


// The tool buttons' icons are read from files without the largest size: drawn at the sizes a
// button uses, they must be the style's own pictures, pixel for pixel.
void CompositionTest::toolButtonsDrawTheStyleIcons()
{
    const std::pair<const char *, QStyle::StandardPixmap> buttons[] = {
        {"SpeedButton6", QStyle::SP_FileIcon}, {"SpeedButton5", QStyle::SP_DialogOpenButton},
        {"SpeedButton7", QStyle::SP_DialogSaveButton}, {"SpeedButtonPrint", QStyle::SP_FileDialogDetailedView}};
    for (const auto &[name, which] : buttons) {
        auto *button = form_->findChild<QToolButton *>(name);
        QVERIFY2(button, name);
        const QIcon styleIcon = form_->style()->standardIcon(which);
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
            for (int size : {16, 32}) {
                const QImage shown = button->icon().pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32);
                const QImage expected = styleIcon.pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32);
                QVERIFY2(!shown.isNull() && shown == expected, qPrintable(QStringLiteral("%1 at %2").arg(name).arg(size)));
            }
        }
    }
}

QTEST_MAIN(CompositionTest)
#include "composition_test.moc"
