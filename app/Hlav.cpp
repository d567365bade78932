// The main window's start-up and closing sequences, hint display, modal boxes and wiring.
#include "Hlav.h"
#include "UserInteraction.h"
#include "maps/ui/MapTools.h"

#include "host/Colors.h"
#include "UpDown.h"
#include "archive/ui/ArchiveUi.h"
#include "datalog/ui/DatalogController.h"
#include "history/ui/ChangeHistoryUi.h"
#include "link/ui/PortSettingsUi.h"
#include "logview/ui/AdvanceFinderUi.h"
#include "logview/ui/LogViewUi.h"
#include "logview/ui/PullReport.h"
#include "files/ConfigDir.h"
#include "files/TestMarker.h"
#include "params/New.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

TFormHlav *FormHlav = nullptr;

TFormHlav::TFormHlav(QWidget *parent) : QMainWindow(parent)
{
    FormHlav = this;
    Notifier = new vorn::host::HostNotifier(this);
    Settings = std::make_unique<vorn::SettingsAccess>(vorn::configPath(vorn::kSettingsFileName));
    composeWindow();
    Datalog = new DatalogController(*this, *this, *this, *Notifier);
    History = new ChangeHistoryUi(*this, *this, *this, *this, *Notifier, this);
    // The comparison's read of the unit and a restored point are told like the window's own.
    connect(History, &ChangeHistoryUi::unitCompared, Notifier, [this](bool ok, const vorn::ParameterImage &unit) {
        emit Notifier->transferFinished(vorn::host::HostNotifier::Transfer::Compare, ok, vorn::Msg::ReadError, unit);
    });
    connect(History, &ChangeHistoryUi::restored, Notifier, &vorn::host::HostNotifier::tuneLoaded);
    PortSettings = new PortSettingsUi(*this, *this, *Notifier);
    LogView = new vorn::logview::LogViewUi(*this, *Notifier, [this] {
        return Datalog && Datalog->recording() ? Datalog->recordingPath() : QString();
    }, vorn::logview::LogViewUi::defaultModuleDirs(), &vorn::logview::pullStartsOf);
    new vorn::logview::AdvanceFinderUi(*this, *this, *this, *this, *Notifier, vorn::logview::LogViewUi::defaultModuleDirs());
    Archive = new ArchiveUi(*this, *this, *this, *Notifier, std::nullopt, this);
    indexNamedControls();
    wireHandlers();
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimerInterval);
    connect(Timer1, &QTimer::timeout, this, &TFormHlav::Timer1Timer);
    Timer1->start();   // ticks arrive once the message loop runs
}

TFormHlav::~TFormHlav()
{
    delete LogView;
    LogView = nullptr;
    if (!closing_)
        ClosePort();
    qApp->removeEventFilter(this);
    // The features go first, while everything they were given is whole.
    delete Archive;
    Archive = nullptr;
    delete History;
    History = nullptr;
    delete PortSettings;
    PortSettings = nullptr;
    delete Datalog;
    Datalog = nullptr;
    // The map tools give the window its own cell colours back when they go, so they go
    // while it is whole, not among the children QWidget deletes after this destructor.
    delete mapTools;
    mapTools = nullptr;
    if (FormHlav == this)
        FormHlav = nullptr;
}

void TFormHlav::remakePortSettings(std::function<std::vector<vorn::SerialDevice>()> lister)
{
    delete PortSettings;
    PortSettings = new PortSettingsUi(*this, *this, *Notifier, std::move(lister));
    indexNamedControls();
}

void TFormHlav::indexNamedControls()
{
    byName_.clear();
    const auto objects = findChildren<QObject *>();
    for (QObject *o : objects)
        if (!o->objectName().isEmpty() && !byName_.contains(o->objectName()))
            byName_.insert(o->objectName(), o);
    // Menu titles and their actions share a name; the menu is the control.
    for (QMenu *m : findChildren<QMenu *>())
        byName_.insert(m->objectName(), m);
}

QAction *TFormHlav::action(const QString &name) const
{
    QObject *o = byName_.value(name);
    if (auto *a = qobject_cast<QAction *>(o))
        return a;
    if (auto *m = qobject_cast<QMenu *>(o))
        return m->menuAction();
    return nullptr;
}

QLineEdit *TFormHlav::edit(const QString &suffix) const
{
    return ctl<QLineEdit>("Edit" + suffix);
}

UpDown *TFormHlav::upDown(const QString &suffix) const
{
    return ctl<UpDown>("UpDown" + suffix);
}

void TFormHlav::setHint(QObject *control, const QString &hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    const QString shortHint = bar < 0 ? hint : hint.left(bar);
    const QString longHint = bar < 0 ? hint : hint.mid(bar + 1);
    if (auto *m = qobject_cast<QMenu *>(control))
        control = m->menuAction();
    if (auto *a = qobject_cast<QAction *>(control)) {
        a->setToolTip(shortHint);
        a->setStatusTip(longHint);
    } else if (auto *w = qobject_cast<QWidget *>(control)) {
        w->setToolTip(shortHint);
        w->setStatusTip(longHint);
    }
}

void TFormHlav::ShowHintInStatusBar(const QString &hint)
{
    if (auto *bar = ctl<QStatusBar>("StatusBar1"))
        bar->showMessage(hint);
}

bool TFormHlav::eventFilter(QObject *watched, QEvent *event)
{
    if (programWindowEvent(watched, event))
        return true;
    if (event->type() == QEvent::Wheel) {
        // A wheel turned while scrolling past a model list must not pick another model.
        auto *list = qobject_cast<QComboBox *>(watched);
        if (list && !list->hasFocus()
            && (list == ctl<QComboBox>("ComboBoxBike") || list == ctl<QComboBox>("ComboBoxSynchro"))) {
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::StatusTip) {
        // The hint of the control under the mouse or of the highlighted menu item.
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && (w == this || isAncestorOf(w) || qobject_cast<QMenu *>(w))) {
            ShowHintInStatusBar(static_cast<QStatusTipEvent *>(event)->tip());
            return true;
        }
    }
    return editEventFilter(watched, event) || QMainWindow::eventFilter(watched, event);
}

void TFormHlav::setUserInteraction(UserInteraction *interaction)
{
    interaction_ = interaction;
}

UserInteraction &TFormHlav::userInteraction() const
{
    static UserInteraction desktop;
    return interaction_ ? *interaction_ : desktop;
}

int TFormHlav::Question(const QString &text)
{
    // Closing meanwhile answers Cancel: nothing is changed on the way out.
    return runModal([&] { return userInteraction().askQuestion(boxOwner(), windowTitle(), text); },
                    int(QMessageBox::Cancel));
}

void TFormHlav::leaveModal()
{
    if (--modalDepth_ == 0 && closeWaiting_)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TFormHlav::FormCreate(const QStringList &arguments)
{
    InitEditPointers();                                   // 1
    InitUpDownPointers();
    mapTools = new vorn::maps::MapTools(*this, *this, *this, *Notifier, this);
    qApp->installEventFilter(this);                       // 2: hints to the status bar
    ComPort = 1;                                          // 3
    Image.bikeCode() = vorn::kStartBikeCode;
    ApplyBikeSetup();                                     // 4
    if (QScreen *screen = QGuiApplication::primaryScreen()) {   // 5
        const QRect s = screen->geometry();
        move((s.width() - width()) / 2, (s.height() - height()) / 2);
    }
    LoadSettings();                                       // 6
    if (!arguments.isEmpty()) {                           // 7
        static const char *const kWords[] = {"ENGLISH", "DEUTSCH", "FRANCE", "CESKY"};
        for (int i = 0; i < 4; ++i)
            if (arguments.first() == QLatin1String(kWords[i])) {
                LanguageIndex = static_cast<std::uint8_t>(i);
                break;
            }
    }
    vorn::ClampParameters(Image, LanguageIndex, ComPort); // 8
    ApplyMessages();                                      // 9
    ShowParameters();                                     // 10
    OpenPort();                                           // 11
    for (int n = 1; n <= 10; ++n)                         // 12
        action(QStringLiteral("MenuCom%1").arg(n))->setChecked(n == ComPort);
    ApplyCaptions();                                      // 13
    ShowParameters();                                     // 14
    ctl<QWidget>("LabelHlaseni")->hide();                 // 15
    ctl<QWidget>("CGauge")->hide();
    DetectTestMode();                                     // 16
    for (int i = 1; i <= 8; ++i)                          // 17
        ctl<QWidget>(QStringLiteral("LabelTest%1").arg(i))->setVisible(TestMode);
    UpdateDisplayStates();                                // 18
    History->started();
}

void TFormHlav::noteImageChange(const QString &what)
{
    if (History)
        History->noteImageChange(what);
}

void TFormHlav::DetectTestMode()
{
    TestMode = false;
    TestMode = vorn::markerFileUnlocks(vorn::configPath(vorn::kTestMarkerFileName));
}

void TFormHlav::FormClose()
{
    ClosePort();
    ReadParameters();
    vorn::ClampParameters(Image, LanguageIndex, ComPort);
    SaveSettings();
}

void TFormHlav::closeEvent(QCloseEvent *event)
{
    if (modalDepth_ > 0) {
        // A box or dialog of ours is open, with its handler waiting on it: end the box (as
        // Cancel / Escape would) and close once the handler has returned.
        closeWaiting_ = true;
        event->ignore();
        for (QWidget *box = QApplication::activeModalWidget(); box;) {
            box->close();
            QWidget *next = QApplication::activeModalWidget();
            box = next == box ? nullptr : next;
        }
        return;
    }
    if (!closing_) {
        closing_ = true;
        Timer1->stop();
        FormClose();
        emit Notifier->closing();   // a log being recorded is completed
        History->finishRestorePoints();
    }
    event->accept();
}

void TFormHlav::MenuExitClick()
{
    close();
}

void TFormHlav::wireHandlers()
{
    auto onAction = [this](const QString &name, void (TFormHlav::*handler)()) {
        connect(action(name), &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    auto onButton = [this](const QString &name, void (TFormHlav::*handler)()) {
        connect(ctl<QAbstractButton>(name), &QAbstractButton::clicked, this,
                [this, handler] { (this->*handler)(); });
    };

    onAction("MenuNew", &TFormHlav::MenuNewClick);
    onAction("MenuOpen", &TFormHlav::MenuOpenClick);
    onAction("MenuSave", &TFormHlav::MenuSaveClick);
    onAction("MenuPrint", &TFormHlav::SpeedButtonPrintClick);
    onAction("MenuPrintAll", &TFormHlav::MenuPrintAllClick);
    onAction("MenuExit", &TFormHlav::MenuExitClick);
    for (int n = 1; n <= 10; ++n)
        connect(action(QStringLiteral("MenuCom%1").arg(n)), &QAction::triggered, this,
                [this, n] { MenuCom1Click(n); });
    onAction("MenuRead", &TFormHlav::MenuReadClick);
    onAction("MenuVerify", &TFormHlav::MenuVerifyClick);
    onAction("MenuProgram", &TFormHlav::MenuProgramClick);
    onAction("AdvanceMinus", &TFormHlav::BitBtnAdvMinusClick);
    onAction("AdvancePlus", &TFormHlav::BitBtnAdvPlusClick);
    onAction("MenuEnglish", &TFormHlav::MenuEnglishClick);
    onAction("MenuGerman", &TFormHlav::MenuGermanClick);
    onAction("MenuFrench", &TFormHlav::MenuFrenchClick);
    onAction("MenuCzech", &TFormHlav::MenuCzechClick);
    onAction("MenuContens", &TFormHlav::MenuContensClick);
    onAction("MenuAbout", &TFormHlav::MenuAboutClick);

    onButton("SpeedButton6", &TFormHlav::MenuNewClick);
    onButton("SpeedButton5", &TFormHlav::MenuOpenClick);
    onButton("SpeedButton7", &TFormHlav::MenuSaveClick);
    onButton("SpeedButtonPrint", &TFormHlav::SpeedButtonPrintClick);
    onButton("ButtonRead", &TFormHlav::MenuReadClick);
    onButton("BitBtnVerify", &TFormHlav::MenuVerifyClick);
    onButton("BitBtnProgram", &TFormHlav::MenuProgramClick);
    onButton("BitBtnAdvMinus", &TFormHlav::BitBtnAdvMinusClick);
    onButton("BitBtnAdvPlus", &TFormHlav::BitBtnAdvPlusClick);
    onButton("BitBtnServoMinus", &TFormHlav::BitBtnServoMinusClick);
    onButton("BitBtnServoPlus", &TFormHlav::BitBtnServoPlusClick);
    onButton("BitBtnTps0", &TFormHlav::BitBtnTps0Click);
    onButton("BitBtnTps100", &TFormHlav::BitBtnTps100Click);

    for (int k = 1; k <= vorn::kMapSize; ++k) {
        auto *s = ctl<CSpinButton>(QStringLiteral("CSpinButton%1").arg(k));
        connect(s, &CSpinButton::downClick, this, [this, k] { CSpinButtonDownClick(k - 1); });
        connect(s, &CSpinButton::upClick, this, [this, k] { CSpinButtonUpClick(k - 1); });
    }
    // Both lists share one change handler; it runs only on a user's choice (activated),
    // never when the program sets the selection. Qt also reports picking the entry that is
    // already selected; that is no change and must not reload the model's defaults.
    auto *bike = ctl<QComboBox>("ComboBoxBike");
    auto *sync = ctl<QComboBox>("ComboBoxSynchro");
    connect(bike, &QComboBox::activated, this, [this](int index) {
        if (vorn::bikeCodeOfListIndex(index) != Image.bikeCode())
            ComboBikeChange();
    });
    connect(sync, &QComboBox::activated, this, [this](int index) {
        if (index != Image.syncMethod())
            ComboBikeChange();
    });
    // The wheel turns a list only once the user has clicked or tabbed into it.
    for (QComboBox *list : {bike, sync})
        list->setFocusPolicy(Qt::StrongFocus);

    wireEditHandlers();

    // Labels whose normal background is button face carry it from the start: left to
    // inherit, they would take the window's white while printing until first coloured.
    QStringList faceLabels = {"LabelRpm", "LabelNapeti", "LabelBlocking1", "LabelMonPilotLight",
                              "LabelClutchMon", "LabelMonSnimac1", "LabelMonSnimac2", "LabelTpsMon",
                              "LabelPriveraPoz", "LabelPriveraMer"};
    for (int n = 1; n <= vorn::kChannels; ++n)
        faceLabels << QStringLiteral("LabelAdvance%1").arg(n);
    for (int n = 1; n <= vorn::kMapSize; ++n)
        faceLabels << QStringLiteral("LabelTps%1").arg(n);
    for (const QString &name : faceLabels)
        if (QWidget *label = ctl<QWidget>(name))
            vorn::ui::setBackground(label, vorn::ui::buttonFace());
}
