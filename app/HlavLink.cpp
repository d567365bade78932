// The device link in the window: the port and the Com menu, Timer1, Read / Verify / Program.
#include "Hlav.h"

#include "host/Colors.h"
#include "link/OpenDiagnosis.h"
#include "link/PortPath.h"
#include "link/SerialLink.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

std::unique_ptr<vorn::PortIo> TFormHlav::openDevice(const QString &device, QString *reason)
{
    if (portOpener_)
        return portOpener_(device, reason);
    return vorn::SerialLink::open(device, reason);
}

void TFormHlav::attachPort(std::unique_ptr<vorn::PortIo> port)
{
    Port = std::move(port);
    Session.setPort(Port.get());
    if (!Port)
        return;
    vorn::PortIo *opened = Port.get();
    // The port reports its loss from its own call stack; close it from the window's.
    Port->onLost = [this, opened] {
        QMetaObject::invokeMethod(this, [this, opened] { portLost(opened); }, Qt::QueuedConnection);
    };
}

void TFormHlav::OpenPort()
{
    if (ComPort < 1 || ComPort > vorn::kComPortCount)
        return;
    const QString device = vorn::comDevicePath(ComPort);
    QString reason;
    attachPort(openDevice(device, &reason));
    if (Port)
        emit Notifier->portOpened();
    if (!Port) {
        // The first line is the program's fixed text; below it the system's facts say what
        // to do: join the device's group, close the program that holds it, plug it in.
        MessageBox(QStringLiteral("Com opening error\n\n")
                   + vorn::describeOpenDiagnosis(vorn::diagnoseOpenFailure(device, reason), LanguageIndex));
    }
}

void TFormHlav::ClosePort()
{
    if (reconnectTimer_)
        reconnectTimer_->stop();
    // Forget the port as well as closing it: a later write must not reach whatever
    // reuses the released descriptor.
    Session.setPort(nullptr);
    const bool wasOpen = Port != nullptr;
    Port.reset();
    if (wasOpen)
        emit Notifier->portClosed();
}

void TFormHlav::portLost(vorn::PortIo *port)
{
    if (!port || Port.get() != port)
        return;   // already closed or replaced by a newer open
    ClosePort();
    Session.connectionLost();
    transfer_.reset();   // cut off: nobody knows what the unit now holds
    applyLinkEvents(Session.abortTransfer());
    // The cable may come back: look for the device again about once a second.
    if (!reconnectTimer_) {
        reconnectTimer_ = new QTimer(this);
        reconnectTimer_->setObjectName(QStringLiteral("ReconnectTimer"));
        reconnectTimer_->setInterval(kReconnectIntervalMs);
        connect(reconnectTimer_, &QTimer::timeout, this, &TFormHlav::tryReconnect);
    }
    reconnectTimer_->start();
}

void TFormHlav::tryReconnect()
{
    const QString device = vorn::comDevicePath(ComPort);
    // A missing path is the usual answer while the cable is out: no open attempt, no box.
    if (device.isEmpty() || !QFileInfo::exists(device))
        return;
    QString reason;
    std::unique_ptr<vorn::PortIo> port = openDevice(device, &reason);
    if (!port)
        return;   // still settling (udev sets permissions a moment later): next second
    reconnectTimer_->stop();
    attachPort(std::move(port));
    emit Notifier->portOpened();
    emit Notifier->unitForgotten();
}

void TFormHlav::MenuCom1Click(int portNumber)
{
    ComPort = static_cast<std::uint8_t>(portNumber);
    for (int n = 1; n <= vorn::kComPortCount; ++n)
        action(QStringLiteral("MenuCom%1").arg(n))->setChecked(n == ComPort);
    ClosePort();
    // Another port may lead to another unit: nothing known about the last one holds.
    emit Notifier->unitForgotten();
    OpenPort();
}

void TFormHlav::Timer1Timer()
{
    // A replay stands the session still: no request goes out, no reply is read, and the
    // counters go on where they stopped when the replay ends. A port lent to a feature's
    // session (the comparison's read of the unit) is that session's for its few ticks.
    if (!Replaying && !portLent_)
        applyLinkEvents(Session.tick());
    HighlightActiveCell();
}

void TFormHlav::MenuReadClick()
{
    if (Replaying)
        return;
    emit Notifier->transferStarted(vorn::host::HostNotifier::Transfer::Read);
    transfer_ = vorn::host::HostNotifier::Transfer::Read;
    applyLinkEvents(Session.startRead());
    ctl<QLabel>("LabelFile2")->setText(QString());
}

void TFormHlav::MenuVerifyClick()
{
    if (Replaying)
        return;
    ReadParameters();
    vorn::ClampParameters(Image, LanguageIndex, ComPort);
    ShowParameters();
    emit Notifier->transferStarted(vorn::host::HostNotifier::Transfer::Verify);
    transfer_ = vorn::host::HostNotifier::Transfer::Verify;
    applyLinkEvents(Session.startVerify());
}

void TFormHlav::MenuProgramClick()
{
    if (Replaying)
        return;
    ReadParameters();
    vorn::ClampParameters(Image, LanguageIndex, ComPort);
    ShowParameters();
    StartProgramRun();
}

bool TFormHlav::program(const vorn::ParameterImage &image)
{
    if (Replaying || !Port || portLent_ || Session.mode() != vorn::ModeIdle || closing())
        return false;
    Image = image;
    vorn::ClampParameters(Image, LanguageIndex, ComPort);
    ShowParameters();
    StartProgramRun();
    return true;
}

void TFormHlav::StartProgramRun()
{
    emit Notifier->transferStarted(vorn::host::HostNotifier::Transfer::Program);
    transfer_ = vorn::host::HostNotifier::Transfer::Program;
    applyLinkEvents(Session.startProgram());
}

void TFormHlav::SetMessageCountdown(int ticks)
{
    Session.setMessageCountdown(ticks);
}

int TFormHlav::MessageCountdown() const
{
    return Session.messageCountdown();
}

void TFormHlav::UpdateIdentification()
{
    Identification = vorn::identificationFromImage(Image);
}

void TFormHlav::applyLinkEvents(const vorn::LinkEvents &events)
{
    using vorn::LinkEvent;
    auto *status = ctl<QLabel>("LabelHlaseni");
    auto *gauge = ctl<QProgressBar>("CGauge");
    // Said after the events are shown, so a listener finds the window as the user sees it.
    std::optional<std::pair<bool, vorn::Msg>> ended;
    for (const LinkEvent &e : events) {
        switch (e.kind) {
        case LinkEvent::ShowStatus:
            if (e.style != LinkEvent::Progress)
                ended = {e.style == LinkEvent::Success, e.message};
            status->setText(Messages[e.message] + (e.style == LinkEvent::Success ? QStringLiteral(" OK") : QString()));
            vorn::ui::setBackground(status, e.style == LinkEvent::Error ? vorn::ui::kRed : vorn::ui::buttonFace());
            status->show();
            break;
        case LinkEvent::SetGauge:
            gauge->setValue(e.value);
            if (e.show)
                gauge->show();
            break;
        case LinkEvent::HideGauge:
            gauge->hide();
            break;
        case LinkEvent::HideStatus:
            status->hide();
            gauge->hide();
            break;
        case LinkEvent::ShowParameters:
            ShowParameters();
            break;
        case LinkEvent::IdentificationChanged:
            UpdateIdentification();
            break;
        case LinkEvent::VersionMismatch:
            ended = {false, vorn::Msg::UnmatchedVersion};
            // The session is idle already. Opened from inside Timer1Timer the box would hold
            // back every further tick (and the monitor requests) until it closes.
            QMetaObject::invokeMethod(
                this, [this] { MessageBox(Messages[vorn::Msg::UnmatchedVersion]); }, Qt::QueuedConnection);
            break;
        case LinkEvent::MonitorFrame:
            DecodeMonitorFrame(e.frame);
            break;
        case LinkEvent::ConnectionLabel: {
            auto *label = ctl<QWidget>("LabelSpojeni");
            const bool was = label->isVisibleTo(this);
            label->setVisible(e.show && !Printing);
            if (label->isVisibleTo(this) != was)
                emit Notifier->noConnectionChanged(!was);
            break;
        }
        }
    }
    emit Notifier->linkEventsApplied(events);
    if (ended && transfer_) {
        const auto kind = *transfer_;
        transfer_.reset();
        emit Notifier->transferFinished(kind, ended->first, ended->second, Image);
    }
}
