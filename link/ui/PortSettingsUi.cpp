// The Com menu's port chooser and the no-connection hint.
#include "PortSettingsUi.h"

#include "PortSettingsDialog.h"
#include "app/Hlav.h"
#include "files/ConfigDir.h"
#include "files/ProfileIni.h"
#include "link/PortChoice.h"
#include "link/PortChoiceTexts.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

std::function<std::vector<vorn::SerialDevice>()> PortSettingsUi::deviceLister;

std::vector<vorn::SerialDevice> PortSettingsUi::listDevices()
{
    return deviceLister ? deviceLister() : vorn::listSerialDevices();
}

PortSettingsUi::PortSettingsUi(TFormHlav &form) : QObject(&form), form_(form)
{
    setObjectName(QStringLiteral("PortSettingsUi"));
    if (auto *com = form.findChild<QMenu *>(QStringLiteral("MenuCom"))) {
        com->addSeparator();
        item_ = com->addAction(QString());
        item_->setObjectName(QStringLiteral("MenuPortSettings"));
        connect(item_, &QAction::triggered, this, &PortSettingsUi::openDialog);
    }
    label_ = form.findChild<QLabel *>(QStringLiteral("LabelSpojeni"));
    if (label_)
        label_->installEventFilter(this);
    connect(&form, &TFormHlav::languageChanged, this, &PortSettingsUi::applyTexts);
    applyTexts(0);
}

vorn::SerialDeviceCache &PortSettingsUi::devices()
{
    if (!devices_)
        devices_ = std::make_unique<vorn::SerialDeviceCache>(&PortSettingsUi::listDevices);
    return *devices_;
}

void PortSettingsUi::openDialog()
{
    // Whoever opens the dialog wants to see the devices as they are now.
    devices().invalidate();
    if (!dialog_) {
        dialog_ = new PortSettingsDialog(&form_, [this] { return devices().devices(); });
        dialog_->applyTexts(form_.LanguageIndex);
        dialog_->onChoose = [this](int n, const QString &path) { choose(n, path); };
    }
    dialog_->selectPort(form_.ComPort);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

bool PortSettingsUi::choose(int n, const QString &path)
{
    QString error;
    if (!vorn::storeComDevicePath(vorn::configPath(vorn::kSettingsFileName), n, path, form_.LanguageIndex, &error)) {
        form_.MessageBox(error);
        return false;
    }
    form_.MenuCom1Click(n);
    if (dialog_)
        dialog_->refresh();
    if (hintTimer_ && hintTimer_->isActive())
        checkHint();
    return true;
}

bool PortSettingsUi::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == label_) {
        if (event->type() == QEvent::ShowToParent) {
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
        } else if (event->type() == QEvent::HideToParent) {
            if (hintTimer_)
                hintTimer_->stop();
            setHint(QString());
        }
    }
    return QObject::eventFilter(watched, event);
}

void PortSettingsUi::checkHint()
{
    const std::vector<vorn::SerialDevice> &reported = devices().devices();
    const vorn::ProfileIni ini(vorn::configPath(vorn::kSettingsFileName));
    setHint(vorn::noConnectionHint(vorn::comPortState(form_.ComPort, ini, reported), reported, form_.LanguageIndex));
}

void PortSettingsUi::setHint(const QString &hint)
{
    if (hint == hint_ || !label_)
        return;
    QStatusBar *bar = form_.statusBar();
    const bool oursShown = !hint_.isEmpty() && bar->currentMessage() == hint_;
    hint_ = hint;
    label_->setToolTip(hint_);
    label_->setStatusTip(hint_);
    // Said once in the status bar as it appears, since nobody hovers over a red label to
    // find out that it has more to say; the next hint there replaces it as usual.
    if (!hint_.isEmpty())
        form_.ShowHintInStatusBar(hint_);
    else if (oursShown)
        form_.ShowHintInStatusBar(QString());
}

void PortSettingsUi::applyTexts(int language)
{
    if (item_)
        item_->setText(vorn::text4(vorn::porttext::MenuPortSettings, language));
    if (dialog_)
        dialog_->applyTexts(language);
    if (!hint_.isEmpty())
        checkHint();
}
