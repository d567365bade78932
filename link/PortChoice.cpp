// COM port numbers, the devices they lead to, and choosing one.
#include "PortChoice.h"

#include "PortChoiceTexts.h"
#include "PortPath.h"
#include "files/ProfileIni.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace vorn {

namespace {

const QString kPortsSection = QStringLiteral("PORTS");

QString comKey(int n)
{
    return QStringLiteral("COM%1").arg(n);
}

QString comName(int n)
{
    return QStringLiteral("Com %1").arg(n);
}

bool isLegacySerialNode(const QString &canonical)
{
    static const QRegularExpression legacy(QStringLiteral("^ttyS[0-9]+$"));
    return legacy.match(QFileInfo(canonical).fileName()).hasMatch();
}

// Whether the reported device is the one `canonical` names (fake lists in tests may
// name devices that are not there, so the plain path counts too).
bool sameDevice(const SerialDevice &device, const QString &canonical)
{
    return !canonical.isEmpty() && (device.path == canonical || resolvedDevice(device.path) == canonical);
}

}  // namespace

QString defaultComDevicePath(int n)
{
    if (n < 1 || n > kComPortCount)
        return {};
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

QString comDevicePath(int n, const ProfileIni &ini)
{
    if (n < 1 || n > kComPortCount)
        return {};
    const QString device = ini.readString(kPortsSection, comKey(n)).trimmed();
    return device.isEmpty() ? defaultComDevicePath(n) : device;
}

ComPortState comPortState(int n, const ProfileIni &ini, const std::vector<SerialDevice> &reported)
{
    ComPortState s;
    s.number = n;
    s.path = comDevicePath(n, ini);
    s.stored = !ini.readString(kPortsSection, comKey(n)).trimmed().isEmpty();
    s.device = resolvedDevice(s.path);
    if (!s.device.isEmpty()) {
        bool isReported = false;
        for (const SerialDevice &d : reported)
            isReported = isReported || sameDevice(d, s.device);
        s.present = isReported || !isLegacySerialNode(s.device);
    }
    return s;
}

std::vector<ComPortState> comPortStates(const ProfileIni &ini, const std::vector<SerialDevice> &reported)
{
    std::vector<ComPortState> states;
    for (int n = 1; n <= kComPortCount; ++n)
        states.push_back(comPortState(n, ini, reported));
    return states;
}

bool canStoreComDevicePath(int n, const QString &devicePath, int language, QString *error)
{
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (n < 1 || n > kComPortCount)
        return fail(text4(porttext::NoComNumber, language));
    if (devicePath.trimmed().isEmpty())
        return fail(text4(porttext::NoDevicePath, language));
    return true;
}

void writeComDevicePath(ProfileIni &ini, int n, const QString &devicePath)
{
    ini.writeString(kPortsSection, comKey(n), devicePath.trimmed());
}

bool storeComDevicePath(const QString &iniPath, int n, const QString &devicePath, int language, QString *error)
{
    if (!canStoreComDevicePath(n, devicePath, language, error))
        return false;
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    ProfileIni ini(iniPath);
    if (!ini.readWhole())
        return fail(text4(porttext::NotReadWhole, language).arg(iniPath));
    writeComDevicePath(ini, n, devicePath);
    if (!ini.save())
        return fail(text4(porttext::NotWritten, language).arg(iniPath));
    return true;
}

QList<int> comNumbersUsing(const SerialDevice &device, const std::vector<ComPortState> &states)
{
    QList<int> numbers;
    for (const ComPortState &s : states)
        if (s.present && sameDevice(device, s.device))
            numbers << s.number;
    return numbers;
}

QStringList comPortHeaders(int language)
{
    return {text4(porttext::HeaderPort, language), text4(porttext::HeaderSetTo, language),
            text4(porttext::HeaderLeadsTo, language)};
}

QStringList comPortColumns(const ComPortState &state, int language)
{
    const QString setTo = state.stored ? state.path : text4(porttext::Default, language).arg(state.path);
    QString now;
    if (state.present)
        now = state.device;
    else if (state.device.isEmpty())
        now = text4(porttext::NoSuchDevice, language);
    else
        now = text4(porttext::NoPortThere, language);
    return {comName(state.number), setTo, now};
}

QStringList deviceHeaders(int language)
{
    return {text4(porttext::HeaderDevice, language),      text4(porttext::HeaderUsedBy, language),
            text4(porttext::HeaderStableName, language),  text4(porttext::HeaderUsb, language),
            text4(porttext::HeaderSerial, language),      text4(porttext::HeaderDescription, language),
            text4(porttext::HeaderAccess, language)};
}

QStringList deviceColumns(const SerialDevice &device, const std::vector<ComPortState> &states, int language)
{
    const DeviceAccess &a = device.access;
    QString access;
    if (!a.exists)
        access = text4(porttext::AccessMissing, language);
    else if (a.mayOpen)
        access = text4(porttext::AccessYes, language);
    else if (!a.inGroupListed)
        access = text4(porttext::AccessNotInGroup, language).arg(a.group);
    else if (!a.inGroupNow)
        access = text4(porttext::AccessNextLogin, language).arg(a.group);
    else
        access = text4(porttext::AccessDenied, language).arg(a.group);

    QString description = device.description;
    if (!device.manufacturer.isEmpty() && !description.contains(device.manufacturer))
        description = description.isEmpty() ? device.manufacturer : device.manufacturer + QLatin1Char(' ') + description;

    QStringList usedBy;
    for (int n : comNumbersUsing(device, states))
        usedBy << comName(n);
    return {device.path,         usedBy.join(QStringLiteral(", ")),
            QFileInfo(device.byIdPath).fileName(), device.usbId(), device.serialNumber,
            description,         access};
}

const SerialDevice *deviceToSuggest(const ComPortState &chosen, const std::vector<SerialDevice> &reported)
{
    if (chosen.present)
        return nullptr;
    const SerialDevice *usb = nullptr;
    for (const SerialDevice &d : reported) {
        if (!d.hasUsbIds)
            continue;
        if (usb)
            return nullptr;   // two or more: which one is the unit's is the person's to say
        usb = &d;
    }
    return usb;
}

QString noConnectionHint(const ComPortState &chosen, const std::vector<SerialDevice> &reported, int language)
{
    const SerialDevice *d = deviceToSuggest(chosen, reported);
    if (!d)
        return {};
    QStringList what{d->usbId()};
    if (!d->description.isEmpty())
        what.prepend(d->description);
    return text4(porttext::Hint, language)
        .arg(d->preferredPath(), what.join(QStringLiteral(", ")), QString::number(chosen.number));
}

}  // namespace vorn
