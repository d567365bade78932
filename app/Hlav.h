// TFormHlav, the main window ("hlavní" = main): state of the whole run and all its handlers.
#pragma once

#include "ControlTable.h"
#include "files/SettingsAccess.h"
#include "host/HostNotifier.h"
#include "host/Link.h"
#include "host/LiveView.h"
#include "lang/Jazyk2.h"
#include "link/Identification.h"
#include "link/LiveValues.h"
#include "link/Port.h"
#include "link/Monitor.h"
#include "params/ParameterImage.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;
class QFileDialog;
class UpDown;
class CSpinButton;
class UserInteraction;
class WindowFeatures;
class WindowHost;
namespace vorn {
struct SerialDevice;
}
namespace vorn::logview {
class LogViewUi;
}
namespace vorn::maps {
class MapTools;
enum class Table;
struct Cell;
}

// The main window. One instance, FormHlav, owns the parameter image, the device session,
// the serial port, the message slots, the control table and the window flags for the whole
// run. Handlers carry the names of the events they serve; the rules they apply live in the
// core (params/, link/, files/, lang/) and are called from here.
//
// The window is also the composition root of its features: they receive its host object
// (WindowHost) as the roles they need, hear its changes from Notifier, and are made from
// the one list in Features.cpp.
class TFormHlav : public QMainWindow {
    Q_OBJECT
    friend class WindowHost;

public:
    explicit TFormHlav(QWidget *parent = nullptr);
    ~TFormHlav() override;

    static constexpr int kDesignWidth = 1012;
    static constexpr int kDesignHeight = 712;
    static constexpr int kTimerInterval = vorn::host::Link::kTickInterval;
    static constexpr int kControlTableSize = 306;
    static constexpr int kEditToUpDown = vorn::table::kEditToUpDown;   // edit k, spinner k + 138

    // ---- state of the whole run -------------------------------------------------------
    vorn::ParameterImage Image;
    std::uint8_t ComPort = 1;
    std::uint8_t LanguageIndex = 0;   // 0 English, 1 German, 2 French, 3 Czech
    bool Printing = false;
    bool TestMode = false;
    QString LastFilePath;
    std::array<QWidget *, kControlTableSize> ControlTable{};

    // Finds a named control of the window (every control carries its name as objectName).
    template <class T = QWidget>
    T *ctl(const QString &name) const
    {
        return qobject_cast<T *>(byName_.value(name));
    }
    QAction *action(const QString &name) const;
    // The edit / spinner pair of a numeric field, by the field's suffix ("Omez2", "50").
    QLineEdit *edit(const QString &suffix) const;
    UpDown *upDown(const QString &suffix) const;

    // ---- start-up and closing (Hlav) --------------------------------------------------
    void FormCreate(const QStringList &arguments);
    void FormClose();
    void DetectTestMode();
    void ShowHintInStatusBar(const QString &hint);
    // Sets a control's hint: the part before "|" is the tooltip, the part after it (or the
    // whole hint when there is no bar) is what the status bar shows.
    static void setHint(QObject *control, const QString &hint);

    // ---- control table (Pointeredit, Pointerupdown) -----------------------------------
    void InitEditPointers();
    void InitUpDownPointers();

    // ---- form binding and editing -----------------------------------------------------
    void ReadParameters();
    void ShowParameters();
    void AfterEdit();
    void ProgramAfterChange();
    void UpdateDisplayStates();
    void UpDownClick();
    void EditExit();
    void CheckBoxMouseUp();
    void BitBtnAdvMinusClick();
    void BitBtnAdvPlusClick();
    void BitBtnServoMinusClick();
    void BitBtnServoPlusClick();
    void BitBtnTps0Click();
    void BitBtnTps100Click();
    void CSpinButtonDownClick(int column);
    void CSpinButtonUpClick(int column);

    // ---- presets and defaults (New) ---------------------------------------------------
    void ApplyBikeSetup();
    void ComboBikeChange();   // the one change handler of ComboBoxBike and ComboBoxSynchro
    void MenuNewClick();

    // ---- device link ------------------------------------------------------------------
    void OpenPort();
    void ClosePort();
    void MenuCom1Click(int portNumber);
    void Timer1Timer();
    void MenuReadClick();
    void MenuVerifyClick();
    void MenuProgramClick();

    // ---- files ------------------------------------------------------------------------
    void LoadSettings();
    void SaveSettings();
    void MenuSaveClick();
    void MenuOpenClick();
    void MenuContensClick();
    void MenuExitClick();

    // ---- languages (Jazyk1, Jazyk2) ---------------------------------------------------
    void ApplyMessages();
    void ApplyCaptions();
    void MenuEnglishClick();
    void MenuGermanClick();
    void MenuFrenchClick();
    void MenuCzechClick();

    // ---- undo, restore points, change tracking ----
    // Undo history, restore points and the change-tracking parts of the status bar; it
    // hears of every change from Notifier like the other features.
    QObject *History = nullptr;

    // ---- printing and about -----------------------------------------------------------
    void SpeedButtonPrintClick();
    void MenuPrintAllClick();
    void MenuAboutClick();

    // ---- device link state ----
    vorn::LiveValues Live;
    vorn::LiveCell LiveCell;
    // Mode, command byte, tick / attempt / no-connection counters and the transmit buffer.
    vorn::DeviceSession Session{Image};
    // The unit's program version, date and time texts (LabelVerze1..3), from block 0.
    vorn::UnitIdentification Identification;
    // The open port, or nullptr: a closed or failed port is forgotten, never kept stale.
    std::unique_ptr<vorn::PortIo> Port;
    // Starts a Program run without reading the controls first (also used after a change).
    void StartProgramRun();
    // The status label's countdown in timer ticks (200 = about 11 s); at 0 the timer hides
    // LabelHlaseni and CGauge.
    void SetMessageCountdown(int ticks);
    int MessageCountdown() const;
    void UpdateIdentification();
    void DecodeMonitorFrame(const vorn::Frame &frame);
    // Writes the monitor column and Live from the fields of one reply. With `logged` set
    // (a row of a log played back) the labels a log does not hold, the pick-ups, the
    // programming count and the test values, are left as they are.
    void ShowMonitorFields(const vorn::MonitorFields &fields, bool logged = false);
    // The fields of the last reply shown.
    vorn::MonitorFields LiveFields;
    // Set while a log is replayed: the session does not run (the port is neither read nor
    // written), LiveCell is the logged cell instead of the search, and Read, Verify and
    // Program are off.
    bool Replaying = false;
    // Recording, replay and time in cell (datalog/ui); made with the window.
    class DatalogController *Datalog = nullptr;
    void HighlightActiveCell();
    // Opens the device of a COM port; on failure returns nullptr and describes the reason.
    using PortOpener = std::function<std::unique_ptr<vorn::PortIo>(const QString &device, QString *error)>;
    // Replaces the QSerialPort adapter for this window (an in-memory port, a port that never
    // opens); given before FormCreate, it serves the start-up open as well.
    void setPortOpener(PortOpener opener) { portOpener_ = std::move(opener); }
    void applyLinkEvents(const vorn::LinkEvents &events);
    // The transfer under way, told to the features when it ends (Notifier->transferFinished).
    std::optional<vorn::host::HostNotifier::Transfer> transfer_;
    void portLost(vorn::PortIo *port);
    // While the lost device is away: one cheap look for it a second, no box.
    static constexpr int kReconnectIntervalMs = 1000;
    class QTimer *reconnectTimer_ = nullptr;   // made on the first loss
    void tryReconnect();
    std::unique_ptr<vorn::PortIo> openDevice(const QString &device, QString *reason);
    void attachPort(std::unique_ptr<vorn::PortIo> port);
    // Com, "Port settings..." and the no-connection label's hint; made with the window, its
    // dialog on first use.
    class PortSettingsUi *PortSettings = nullptr;
    // Makes the port chooser again with devices listed by `lister` (tests and pictures show
    // devices of their own).
    void remakePortSettings(std::function<std::vector<vorn::SerialDevice>()> lister);
    // The devices the port chooser lists; empty for the system's own.
    std::function<std::vector<vorn::SerialDevice>()> portLister_;
    // Log, "Analyse log..." (its module loaded on first use) and the marker key; made with
    // the window, destroyed first.
    vorn::logview::LogViewUi *LogView = nullptr;
    // The workshop archive: every transfer recorded, its status-bar parts, File "Archive...".
    class ArchiveUi *Archive = nullptr;

    // ---- languages state ----
    vorn::MessageSlots Messages;   // the message texts of the current language
    // Writes a caption: label and button text, group box title, menu and item text, the
    // tab text of a page of PageControl1, or the window title for the window itself.
    void setCaption(QObject *control, const QString &text);
    // The control a caption row names ("FormHlav" is the window); nullptr when unknown.
    QObject *captionTarget(const QString &name) const;
    // Placeholders are written only while this label says the unit does not answer.
    bool noConnectionShown() const;
    void selectLanguage(int index);

    // ---- editing state ----
    // Commit wiring of the numeric fields and check boxes (Enter, focus leaving an edit,
    // spinner clicks, check-box mouse release); called from wireHandlers / eventFilter.
    void wireEditHandlers();
    bool editEventFilter(QObject *watched, QEvent *event);
    // Set while a model or synchronisation list change runs, until its ApplyBikeSetup.
    bool BikeSetupPending = false;
    // Enter in an edit field or in CheckBoxAktClutch: next control in tab order, commit.
    void FormKeyPress();
    // The bound controls, the program-after-change shadow and the display-state control
    // lists; defined in app/EditState.h, built once in wireEditHandlers.
    struct EditState;
    std::shared_ptr<EditState> editState_;

    // ---- files state ----
    bool FileKeyFound = false;   // whether the last opened *.ign file had the key line
    // The two file dialogs, created on first use with LastFilePath preselected.
    QFileDialog *OpenDialog1 = nullptr;
    QFileDialog *SaveDialog1 = nullptr;
    void createFileDialogs();
    // Reads one parameter file into the image as Open does after its dialog.
    void openParameterFile(const QString &path);
    // Shows a file dialog; returns the chosen path, empty on cancel.
    QString execFileDialog(QFileDialog *dialog);

    // ---- map tools ----
    // Selection, operations, clipboard and heat colours of the map pages; made in FormCreate.
    vorn::maps::MapTools *mapTools = nullptr;
    void paintCell(QWidget *edit, bool live, vorn::maps::Table table, vorn::maps::Cell cell);

    // ---- printing state ----
    // Where Print and Print all send their pages; empty means the system's default
    // printer, created when first needed.
    std::shared_ptr<class PagePrinter> pagePrinter;
    // The client area (the window below the menu bar) as it looks now, drawn on the
    // window colour: what one printed page shows.
    class QImage clientAreaImage();

    // ---- the host of the features (HlavHost.cpp) ----------------------------------------
    vorn::host::HostNotifier *Notifier = nullptr;
    // The settings file, read and written by the window and every feature through this.
    std::unique_ptr<vorn::SettingsAccess> Settings;

    // The window as its features see it: the four host roles.
    WindowHost &host() const { return *host_; }
    // A box over `owner`, a window of a feature (see Shell::messageOver).
    void messageOver(QWidget *owner, const QString &text, const QString &title = QString());
    // Puts a new top-level window beside the main window (see Shell::placeWindow).
    void placeWindow(QWidget *window);
    // A permanent part at the right of the status bar that never widens the window.
    void addStatusPart(QWidget *part);
    bool closing() const { return closing_ || closeWaiting_; }
    // Programs `image` through Device, Program's own path (see Link::program).
    bool program(const vorn::ParameterImage &image);
    // A feature runs its own session on the port (see Link::lendPort); Timer1 keeps off it.
    bool portLent_ = false;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Composition of the window (HlavLayout.cpp).
    void composeWindow();
    void buildMenus();
    QWidget *buildToolBar();
    QWidget *buildPageMiscellaneous();
    QWidget *buildPageBike();
    QWidget *buildPageAdvance();
    QWidget *buildPageServo();
    QWidget *buildMonitorColumn();
    QWidget *buildTestRow();
    void indexNamedControls();
    void wireHandlers();
    // Creates an edit with its spinner for the bound field of that suffix.
    QWidget *numericField(const QString &suffix, QWidget *parent, int editWidth = 64);

    QHash<QString, QObject *> byName_;
    bool closing_ = false;

public:
    // The layout cell (edit + spinner) of each map cell, by row and column, and the grid
    // that holds them, so row 9 can take row 0's place while the throttle map is off.
    std::array<std::array<class QHBoxLayout *, vorn::kMapSize>, vorn::kMapSize> mapCells_{};
    class QGridLayout *mapGrid_ = nullptr;
    class QTimer *Timer1 = nullptr;

    // Every modal box of the program goes through these two. A box goes over boxOwner().
    void MessageBox(const QString &text, const QString &title = QString());
    // The program's window the person worked in last (the main window, or a feature's window
    // still open); a box or file dialog counts as the window it was opened over.
    QWidget *boxOwner() const;
    int Question(const QString &text);   // returns QMessageBox::Yes, No or Cancel

    // Who answers the window's boxes, questions, file dialogs and document requests: the
    // person at the desktop unless another is set (not owned; nullptr restores the desktop).
    void setUserInteraction(UserInteraction *interaction);
    UserInteraction &userInteraction() const;

    // Runs one modal conversation (box, question, file dialog, the about box). A close that
    // arrives meanwhile (a closing signal) waits until the outermost one has returned, so no
    // handler goes on with a deleted window; once a close waits, no new conversation starts
    // and `ifClosing` is returned instead.
    template <class Run, class Result>
    Result runModal(Run &&run, Result ifClosing)
    {
        if (closeWaiting_)
            return ifClosing;
        ModalScope scope(*this);
        return run();
    }

private:
    PortOpener portOpener_;
    struct ModalScope {
        explicit ModalScope(TFormHlav &form) : form(form) { ++form.modalDepth_; }
        ~ModalScope() { form.leaveModal(); }
        TFormHlav &form;
    };
    void leaveModal();
    UserInteraction *interaction_ = nullptr;
    int modalDepth_ = 0;          // modal conversations open right now
    bool closeWaiting_ = false;   // a close arrived while one was open
    bool settingsReadWhole_ = true;   // vorn4.ini was missing or read whole at start-up
    vorn::host::LiveView::CellColours cellColours_;
    std::unique_ptr<WindowHost> host_;
    // The features, made from the list in Features.cpp, destroyed in its reverse order.
    std::unique_ptr<WindowFeatures> features_;
    // The window events the window keeps an eye on for all of the program (app-wide filter):
    // which window was active last, new windows to place, the status parts' painting.
    bool programWindowEvent(QObject *watched, QEvent *event);
    void noteActiveWindow(QWidget *window);
    QPointer<QWidget> lastActiveWindow_;
    std::vector<QPointer<QWidget>> statusParts_;
    // Qt's own texts (standard buttons, file dialogs, text fields' menus) in the program's
    // language; none for English.
    void followQtLanguage(int language);
    std::unique_ptr<class QTranslator> qtTexts_;
    int qtTextsLanguage_ = -1;   // -1 until the start-up's language is known
};

// The one main window of the program; set while it exists.
extern TFormHlav *FormHlav;
