// Com, "Port settings...": the no-connection hint that points to the one plugged-in adapter,
// choosing a device for a Com number in the dialog, what that writes and which port opens.
#include "app/Hlav.h"
#include "link/ui/PortSettingsDialog.h"
#include "link/ui/PortSettingsUi.h"
#include "support/MemoryPort.h"
#include "support/ScriptedInteraction.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class PortSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void hintThenChooseADeviceForCom2();
};

void PortSettingsTest::hintThenChooseADeviceForCom2()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    const QString pty = QString::fromLocal8Bit(ptsname(master));

    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    const QString ini = dir.filePath("vorn4.ini");
    const QByteArray head = "[FORM_HLAV]\r\nComPort=1\r\nLanguage=0\r\n[PORTS]\r\nCOM5=/dev/elsewhere\r\n";
    const QByteArray tail = "[LOG]\r\nFolder=/tmp/logs\r\n; kept as written\r\n";
    {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(head + tail);
    }

    vorn::SerialDevice adapter;
    adapter.path = "/nonexistent/ttyUSB3";
    adapter.byIdPath = "/dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0";
    adapter.hasUsbIds = true;
    adapter.vendorId = 0x0403;
    adapter.productId = 0x6001;
    adapter.description = "FT232R USB UART";
    QStringList opened;
    testPortOpener = [&](const QString &device, QString *reason) -> std::unique_ptr<vorn::PortIo> {
        opened << device;
        if (vorn::resolvedDevice(device) != QFileInfo(pty).canonicalFilePath()) {
            *reason = device + ": No such file or directory";
            return nullptr;
        }
        return std::make_unique<MemoryPort>();
    };
    ScriptedInteraction answers;

    auto form = std::make_unique<TFormHlav>();
    form->remakePortSettings([&] { return std::vector<vorn::SerialDevice>{adapter, vorn::describeSerialDevice(pty)}; });
    form->setUserInteraction(&answers);
    form->setPortOpener(testPortOpener);
    form->FormCreate({});
    form->Timer1->stop();
    QCOMPARE(opened, QStringList{"/dev/ttyS0"});
    QCOMPARE(answers.messages.size(), 1);   // Com 1 has no unit: the usual opening error
    QVERIFY(!form->findChild<PortSettingsDialog *>());   // made on first use only

    // Com 1 leads nowhere and one adapter is plugged in: the label says which and how.
    auto *label = form->ctl<QLabel>("LabelSpojeni");
    for (int i = 0; i < 19; ++i)
        form->Timer1Timer();
    QVERIFY(label->isVisibleTo(form.get()));
    // Looked at shortly after the label shows, not while the window starts; said in a
    // status-bar part of its own, never in the hint panel nor on the specified label.
    auto *part = form->statusBar()->findChild<QLabel *>("LabelPortHint");
    QVERIFY(part && !part->isVisibleTo(form.get()));
    QTRY_VERIFY(part->isVisibleTo(form.get()));
    QCOMPARE(part->text(), QString("Com 1: no device, an adapter is plugged in"));
    QVERIFY2(part->toolTip().contains(adapter.byIdPath) && part->toolTip().contains("Com, Port settings..."),
             qPrintable(part->toolTip()));
    QVERIFY(form->statusBar()->currentMessage().isEmpty());
    QVERIFY(label->toolTip().isEmpty() && label->statusTip().isEmpty());
    QCOMPARE(label->text(), QString("No connection with PC"));

    // The Com menu's last item opens the dialog at the window's port.
    QMenu *com = form->ctl<QMenu>("MenuCom");
    QAction *item = com->actions().last();
    QCOMPARE(item, form->action("MenuPortSettings"));
    QCOMPARE(item->text(), QString("Port settings..."));
    item->trigger();
    auto *dialog = form->findChild<PortSettingsDialog *>();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->selectedPort(), 1);
    QCOMPARE(dialog->ports()->topLevelItemCount(), 10);
    QCOMPARE(dialog->ports()->topLevelItem(4)->text(1), QString("/dev/elsewhere"));
    QCOMPARE(dialog->ports()->topLevelItem(1)->text(1), QString("/dev/ttyS1 (default)"));
    QCOMPARE(dialog->devices()->topLevelItemCount(), 2);
    QCOMPARE(dialog->devices()->topLevelItem(0)->text(2), QString("usb-Maker_Adapter_A1-if00-port0"));
    QCOMPARE(dialog->devices()->topLevelItem(0)->text(3), QString("0403:6001"));

    // Com 2, then the pty's row: its path goes into the field; the button stores and selects.
    dialog->ports()->setCurrentItem(dialog->ports()->topLevelItem(1));
    QVERIFY(!dialog->useButton()->isEnabled());
    QTreeWidgetItem *ptyRow = dialog->devices()->topLevelItem(1);
    QCOMPARE(ptyRow->text(0), pty);
    dialog->devices()->setCurrentItem(ptyRow);
    QCOMPARE(dialog->pathEdit()->text(), pty);
    QCOMPARE(dialog->useButton()->text(), QString("Use for Com 2"));
    QVERIFY(dialog->useButton()->isEnabled());
    QTest::mouseClick(dialog->useButton(), Qt::LeftButton);

    QCOMPARE(readFile(ini), head + "COM2=" + pty.toUtf8() + "\r\n" + tail);
    QCOMPARE(opened.last(), pty);
    QVERIFY(form->Port);
    QCOMPARE(int(form->ComPort), 2);
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(form->action(QStringLiteral("MenuCom%1").arg(n))->isChecked(), n == 2);
    QCOMPARE(answers.messages.size(), 1);
    QCOMPARE(dialog->ports()->topLevelItem(1)->text(2), QFileInfo(pty).canonicalFilePath());
    QCOMPARE(ptyRow->text(1), QString("Com 2"));
    // Com 2 leads to a device now: nothing left to point to.
    QVERIFY(!part->isVisibleTo(form.get()));
    QVERIFY(form->statusBar()->currentMessage().isEmpty());

    // A double click on a device row chooses it for the selected Com number at once.
    dialog->ports()->setCurrentItem(dialog->ports()->topLevelItem(2));
    const QPoint onPty = dialog->devices()->visualItemRect(ptyRow).center();
    QTest::mousePress(dialog->devices()->viewport(), Qt::LeftButton, {}, onPty);
    QTest::mouseDClick(dialog->devices()->viewport(), Qt::LeftButton, {}, onPty);
    QCOMPARE(int(form->ComPort), 3);
    QCOMPARE(readFile(ini), head + "COM2=" + pty.toUtf8() + "\r\nCOM3=" + pty.toUtf8() + "\r\n" + tail);

    // The item and the dialog follow the language.
    form->action("MenuGerman")->trigger();
    QCOMPARE(item->text(), QString("Porteinstellungen..."));
    QCOMPARE(dialog->windowTitle(), QString("Porteinstellungen"));
    QCOMPARE(dialog->useButton()->text(), QString("Für Com 3 verwenden"));

    form.reset();
    testPortOpener = nullptr;
    ::close(master);
}

QTEST_MAIN(PortSettingsTest)
#include "portsettings_test.moc"
