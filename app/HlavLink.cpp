// The device link in the window: the port and the Com menu, Timer1, Read / Verify / Program.
#include "Hlav.h"

#include "Colors.h"
#include "link/PortPath.h"
#include "link/SerialLink.h"
#include "history/ui/ChangeHistoryUi.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

std::function<std::unique_ptr<vorn::PortIo>(const QString &, QString *)> TFormHlav::portOpener;

void TFormHlav::OpenPort()
{
    if (ComPort < 1 || ComPort > vorn::kComPortCount)
        return;
    const QString device = vorn::comDevicePath(ComPort);
    QString reason;
    if (portOpener)
        Port = portOpener(device, &reason);
    else
        Port = vorn::SerialLink::open(device, &reason);
    Session.setPort(Port.get());
    if (!Port) {
        // The first line is the program's fixed text; what follows tells a user which
        // device failed and why, since on Linux that is often a missing group membership.
        MessageBox(QStringLiteral("Com opening error") + (reason.isEmpty() ? QString() : "\n\n" + reason));
        return;
    }
    vorn::PortIo *opened = Port.get();
    // The port reports its loss from its own call stack; close it from the window's.
    Port->onLost = [this, opened] {
        QMetaObject::invokeMethod(this, [this, opened] { portLost(opened); }, Qt::QueuedConnection);
    };
}

void TFormHlav::ClosePort()
{
    // Forget the port as well as closing it: a later write must not reach whatever
    // reuses the released descriptor.
    Session.setPort(nullptr);
    Port.reset();
}

void TFormHlav::portLost(vorn::PortIo *port)
{
    if (!port || Port.get() != port)
        return;   // already closed or replaced by a newer open
    ClosePort();
    Session.connectionLost();
}

void TFormHlav::MenuCom1Click(int portNumber)
{
    ComPort = static_cast<std::uint8_t>(portNumber);
    for (int n = 1; n <= vorn::kComPortCount; ++n)
        action(QStringLiteral("MenuCom%1").arg(n))->setChecked(n == ComPort);
    ClosePort();
    OpenPort();
}

void TFormHlav::Timer1Timer()
{
    applyLinkEvents(Session.tick());
    HighlightActiveCell();
}

void TFormHlav::MenuReadClick()
{
    if (History)
        History->readStarted();
    applyLinkEvents(Session.startRead());
    ctl<QLabel>("LabelFile2")->setText(QString());
}

void TFormHlav::MenuVerifyClick()
{
    ReadParameters();
    vorn::ClampParameters(Image, LanguageIndex, ComPort);
    ShowParameters();
    applyLinkEvents(Session.startVerify());
}

void TFormHlav::MenuProgramClick()
{
    ReadParameters();
    vorn::ClampParameters(Image, LanguageIndex, ComPort);
    ShowParameters();
    StartProgramRun();
}

void TFormHlav::StartProgramRun()
{
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
    for (const LinkEvent &e : events) {
        switch (e.kind) {
        case LinkEvent::ShowStatus:
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
            // The session is idle already. Opened from inside Timer1Timer the box would hold
            // back every further tick (and the monitor requests) until it closes.
            QMetaObject::invokeMethod(
                this, [this] { MessageBox(Messages[vorn::Msg::UnmatchedVersion]); }, Qt::QueuedConnection);
            break;
        case LinkEvent::MonitorFrame:
            DecodeMonitorFrame(e.frame);
            break;
        case LinkEvent::ConnectionLabel:
            ctl<QWidget>("LabelSpojeni")->setVisible(e.show && !Printing);
            break;
        }
    }
    if (History)
        History->linkEventsApplied(events);
}
