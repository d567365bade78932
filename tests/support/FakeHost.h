// A stand-in for the main window in feature tests: it offers every host role on a plain
// image, plain edits for the map cells and a real settings file in the test's folder, and
// remembers what the feature asked of it. No window code is linked.
#pragma once

#include "files/SettingsAccess.h"
#include "host/CellEvents.h"
#include "host/HostNotifier.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QStringList>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class FakeHost : public vorn::host::Shell,
                 public vorn::host::ImageEditing,
                 public vorn::host::LiveView,
                 public vorn::host::Link {
public:
    explicit FakeHost(const QString &settingsPath) : settings_(settingsPath)
    {
        window.setStatusBar(new QStatusBar(&window));
        auto *central = new QWidget(&window);
        auto *grid = new QGridLayout(central);
        mapArea = new QWidget(central);
        servoArea = new QWidget(central);
        auto *mapGrid = new QGridLayout(mapArea);
        auto *servoRow = new QGridLayout(servoArea);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c)
                mapGrid->addWidget(mapEdits[r][c] = new QLineEdit(mapArea), r, c);
        for (int c = 0; c < 10; ++c)
            servoRow->addWidget(servoEdits[c] = new QLineEdit(servoArea), 0, c);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c)
                cells.watch(mapEdits[r][c]);
        for (QLineEdit *e : servoEdits)
            cells.watch(e);
        grid->addWidget(mapArea, 0, 0);
        grid->addWidget(servoArea, 1, 0);
        window.setCentralWidget(central);
        showImage();
    }

    // ---- what the feature did ----
    QStringList messages, questions, hints;
    std::vector<QString> callLog;   // "beginReplay", "showReplayed", "endReplay", "selectPort 3", ...
    std::vector<vorn::StepLabel> steps;   // one per applyEdit
    QMap<vorn::host::MenuPlace, QList<QAction *>> placed;
    QList<QWidget *> statusParts;
    QList<QWidget *> messageOwners, placedWindows;
    int repaints = 0;

    // ---- what the feature finds ----
    QMainWindow window;
    vorn::host::HostNotifier notifier;
    vorn::host::CellEvents cells;
    vorn::ParameterImage img;
    vorn::ParameterImage session_image;
    vorn::DeviceSession deviceSession{session_image};
    vorn::UnitIdentification unitId;
    vorn::LiveValues liveValues;
    vorn::LiveCell cell;
    vorn::MonitorFields fields;
    QWidget *mapArea = nullptr, *servoArea = nullptr;
    std::array<std::array<QLineEdit *, 10>, 10> mapEdits{};
    std::array<QLineEdit *, 10> servoEdits{};
    std::optional<vorn::maps::Table> openTable = vorn::maps::Table::Advance;
    bool tpsMap = true;
    bool isPrinting = false;
    bool isClosing = false;
    int lang = 0;
    int com = 1;
    vorn::PortIo *openPort = nullptr;
    bool noConnection = false;
    QString file;
    std::deque<QString> fileAnswers;            // answers of chooseFile / chooseParameterFile
    std::deque<std::optional<int>> numberAnswers;
    int questionAnswer = QMessageBox::Yes;
    std::function<int(QDialog *)> onDialog;     // answers runDialog; Rejected when unset
    CellColours colours;

    // ---- Shell ----
    QWidget *dialogParent() const override { return const_cast<QMainWindow *>(&window); }
    int language() const override { return lang; }
    QString messageText(vorn::Msg m) const override { return QStringLiteral("msg%1").arg(int(m)); }
    void message(const QString &text, const QString &) override { messages << text; }
    void messageOver(QWidget *owner, const QString &text, const QString &) override
    {
        messages << text;
        messageOwners << owner;
    }
    int question(const QString &text, const QString &) override
    {
        questions << text;
        return questionAnswer;
    }
    QString chooseFile(QFileDialog *) override { return takeFile(); }
    std::optional<int> askNumber(const QString &, const QString &, int, int, int) override
    {
        if (numberAnswers.empty())
            return std::nullopt;
        auto a = numberAnswers.front();
        numberAnswers.pop_front();
        return a;
    }
    int runDialog(QDialog *d) override { return onDialog ? onDialog(d) : int(QDialog::Rejected); }
    bool openDocument(const QString &) override { return true; }
    bool closing() const override { return isClosing; }
    void placeWindow(QWidget *w) override { placedWindows << w; }
    void showHint(const QString &text) override { hints << text; }
    void addStatusPart(QWidget *part) override
    {
        window.statusBar()->addPermanentWidget(part);
        statusParts << part;
    }
    void placeAction(vorn::host::MenuPlace place, QAction *a) override
    {
        placed[place] << a;
        if (a)
            window.addAction(a);
    }
    vorn::SettingsAccess &settings() override { return settings_; }

    // ---- ImageEditing ----
    const vorn::ParameterImage &image() const override { return img; }
    void commitTyping() override { callLog.push_back(QStringLiteral("commitTyping")); }
    void applyEdit(const vorn::ParameterImage &edited, const vorn::StepLabel &label) override
    {
        img = edited;
        std::uint8_t language = 0, comPort = 1;
        vorn::ClampParameters(img, language, comPort);
        steps.push_back(label);
        emit notifier.editStepStarted(label);
        showImage();
        emit notifier.imageEdited();
    }
    void restoreImage(const vorn::ParameterImage &image) override
    {
        img = image;
        showImage();
        emit notifier.imageEdited();
    }
    void showImage() override
    {
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c)
                mapEdits[r][c]->setText(QString::number(img.bytes[200 + 10 * r + c]));
    }
    QString currentFile() const override { return file; }
    QString chooseParameterFile() override { return takeFile(); }

    // ---- LiveView ----
    const vorn::LiveValues &live() const override { return liveValues; }
    const vorn::LiveCell &liveCell() const override { return cell; }
    const vorn::MonitorFields &liveFields() const override { return fields; }
    bool throttleMapOn() const override { return tpsMap; }
    bool printing() const override { return isPrinting; }
    QWidget *cellEdit(vorn::maps::Table t, vorn::maps::Cell c) const override
    {
        return t == vorn::maps::Table::Advance ? mapEdits[c.row][c.column] : servoEdits[c.column];
    }
    QWidget *cellArea(vorn::maps::Table t) const override
    {
        return t == vorn::maps::Table::Advance ? mapArea : servoArea;
    }
    std::optional<vorn::maps::Table> shownTable() const override { return openTable; }
    bool rowShown(int row) const override { return tpsMap || row == 0; }
    void setCellColours(CellColours c) override { colours = std::move(c); }
    void repaintCells() override { ++repaints; }
    vorn::host::CellEvents &cellEvents() override { return cells; }
    bool replaying() const override { return inReplay; }
    void beginReplay() override
    {
        inReplay = true;
        callLog.push_back(QStringLiteral("beginReplay"));
    }
    void showReplayed(const vorn::MonitorFields &f, const vorn::LiveCell &c) override
    {
        fields = f;
        cell = c;
        callLog.push_back(QStringLiteral("showReplayed"));
        emit notifier.liveValuesDecoded();
    }
    void endReplay() override
    {
        inReplay = false;
        callLog.push_back(QStringLiteral("endReplay"));
    }
    bool inReplay = false;

    // ---- Link ----
    vorn::PortIo *port() const override { return openPort; }
    const vorn::DeviceSession &session() const override { return deviceSession; }
    const vorn::UnitIdentification &identification() const override { return unitId; }
    int comPort() const override { return com; }
    void selectPort(int n) override
    {
        com = n;
        callLog.push_back(QStringLiteral("selectPort %1").arg(n));
    }
    bool noConnectionShown() const override { return noConnection; }
    bool lendPort() override
    {
        if (!openPort || portLent)
            return false;
        callLog.push_back(QStringLiteral("lendPort"));
        return portLent = true;
    }
    void returnPort() override
    {
        callLog.push_back(QStringLiteral("returnPort"));
        portLent = false;
    }
    bool portLent = false;
    // Starts a Program of `image` (the window shows it); the test ends it with finishTransfer.
    bool program(const vorn::ParameterImage &image) override
    {
        callLog.push_back(QStringLiteral("program"));
        programmed.push_back(image);
        img = image;
        showImage();
        return true;
    }
    std::vector<vorn::ParameterImage> programmed;

    // A transfer of the window ends as the window tells it: its image is then `image`.
    void finishTransfer(vorn::host::HostNotifier::Transfer kind, bool ok, vorn::Msg message,
                        const vorn::ParameterImage &image)
    {
        img = image;
        showImage();
        emit notifier.transferFinished(kind, ok, message, image);
    }

private:
    QString takeFile()
    {
        if (fileAnswers.empty())
            return QString();
        QString f = fileAnswers.front();
        fileAnswers.pop_front();
        return f;
    }
    vorn::SettingsAccess settings_;
};
