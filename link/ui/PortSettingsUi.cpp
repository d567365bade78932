// The Com menu's port chooser and the no-connection hint.
#include "PortSettingsUi.h"

#include "PortSettingsDialog.h"
#include "files/SettingsAccess.h"
#include "host/HostNotifier.h"
#include "host/Link.h"
#include "host/Shell.h"
#include "host/StatusPart.h"
#include "link/PortChoice.h"
#include "link/PortChoiceTexts.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <QWidget>

std::vector<vorn::SerialDevice> PortSettingsUi::systemDevices()
{
    return vorn::listSerialDevices();
}

PortSettingsUi::PortSettingsUi(vorn::host::Shell &shell, vorn::host::Link &link, vorn::host::HostNotifier &notifier,
                               Lister lister)
    : QObject(shell.dialogParent()), shell_(shell), link_(link), lister_(std::move(lister))
{
    setObjectName(QStringLiteral("PortSettingsUi"));
    item_ = new QAction(this);
    item_->setObjectName(QStringLiteral("MenuPortSettings"));
    connect(item_, &QAction::triggered, this, &PortSettingsUi::openDialog);
    shell.placeAction(vorn::host::MenuPlace::ComExtras, item_);
    hintPart_ = vorn::host::addStatusPart(
        shell, {.name = "LabelPortHint", .framed = false, .hidden = true, .receiver = this, .onClick = [this] {
                    openDialog();
                }});
    hintPart_->setStyleSheet(QStringLiteral("QLabel { color: #b00000; }"));
    connect(&notifier, &vorn::host::HostNotifier::noConnectionChanged, this, &PortSettingsUi::noConnectionChanged);
    connect(&notifier, &vorn::host::HostNotifier::languageChanged, this, &PortSettingsUi::applyTexts);
    applyTexts(shell.language());
    if (link.noConnectionShown())
        noConnectionChanged(true);
}

PortSettingsUi::~PortSettingsUi()
{
    // The dialog and the part are the window's children; they go with the feature that
    // fills them.
    delete dialog_;
    delete hintPart_;
}

PortSettingsDialog *PortSettingsUi::dialog() const
{
    return dialog_;
}

vorn::SerialDeviceCache &PortSettingsUi::devices()
{
    if (!devices_)
        devices_ = std::make_unique<vorn::SerialDeviceCache>(lister_);
    return *devices_;
}

void PortSettingsUi::openDialog()
{
    // Whoever opens the dialog wants to see the devices as they are now.
    devices().invalidate();
    if (!dialog_) {
        dialog_ = new PortSettingsDialog(shell_.dialogParent(), [this] { return devices().devices(); },
                                         [this] { return shell_.settings().read(); });
        dialog_->applyTexts(shell_.language());
        dialog_->onChoose = [this](int n, const QString &path) { choose(n, path); };
    }
    dialog_->selectPort(link_.comPort());
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

bool PortSettingsUi::choose(int n, const QString &path)
{
    const int language = shell_.language();
    QString error;
    if (!vorn::canStoreComDevicePath(n, path, language, &error)) {
        shell_.message(error);
        return false;
    }
    vorn::SettingsAccess &settings = shell_.settings();
    // A settings file that could not be read whole is left as it is, and the port is not
    // switched either: the window opens what the file names.
    if (!settings.readWhole()) {
        shell_.message(vorn::text4(vorn::porttext::NotReadWhole, language).arg(settings.path()));
        return false;
    }
    if (!settings.write([&](vorn::ProfileIni &ini) { vorn::writeComDevicePath(ini, n, path); })) {
        shell_.message(vorn::text4(vorn::porttext::NotWritten, language).arg(settings.path()));
        return false;
    }
    if (settings.wroteBeside()) {
        // It stopped reading whole just now: what was written went beside it.
        shell_.message(vorn::text4(vorn::porttext::NotReadWhole, language).arg(settings.path()));
        return false;
    }
    link_.selectPort(n);
    if (dialog_)
        dialog_->refresh();
    if (hintTimer_ && hintTimer_->isActive())
        checkHint();
    return true;
}

void PortSettingsUi::noConnectionChanged(bool shown)
{
    if (shown) {
        // The unit does not answer: look soon, then about once a second until it does.
        // The first look lists the system's devices (about 10 ms), so it waits until the
        // window is up instead of lengthening start-up, where the label first shows.
        if (!hintTimer_) {
            hintTimer_ = new QTimer(this);
            hintTimer_->setInterval(kHintCheckMs);
            connect(hintTimer_, &QTimer::timeout, this, &PortSettingsUi::checkHint);
        }
        hintTimer_->start();
        QTimer::singleShot(kFirstLookMs, this, [this] {
            if (hintTimer_->isActive())
                checkHint();
        });
    } else {
        if (hintTimer_)
            hintTimer_->stop();
        setHint(QString(), QString());
    }
}

void PortSettingsUi::checkHint()
{
    const std::vector<vorn::SerialDevice> &reported = devices().devices();
    const int com = link_.comPort();
    const int language = shell_.language();
    const QString hint =
        vorn::noConnectionHint(vorn::comPortState(com, shell_.settings().read(), reported), reported, language);
    setHint(hint, hint.isEmpty() ? QString() : vorn::text4(vorn::porttext::HintPart, language).arg(com));
}

void PortSettingsUi::setHint(const QString &hint, const QString &partText)
{
    if (hint == hint_ && partText == hintPart_->text())
        return;
    hint_ = hint;
    // A part of its own: the hint panel shows the hints of what the pointer is over, and
    // a message there would be replaced by the next one before anybody read it. The part
    // says what is wrong, its tooltip the way out, and a click opens the way out.
    hintPart_->setText(partText);
    hintPart_->setToolTip(hint_);
    hintPart_->setVisible(!hint_.isEmpty());
}

void PortSettingsUi::applyTexts(int language)
{
    item_->setText(vorn::text4(vorn::porttext::MenuPortSettings, language));
    if (dialog_)
        dialog_->applyTexts(language);
    if (!hint_.isEmpty())
        checkHint();
}
