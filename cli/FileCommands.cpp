// show, diff and ports: files by parameter name, and the serial devices of this machine.
#include "Commands.h"

#include "CliTexts.h"
#include "files/IgnFile.h"
#include "link/SerialDevices.h"
#include "params/New.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace vorn::cli {

namespace {

constexpr qint64 kMaxParameterFileSize = 16 << 20;   // as the window reads

// A file as the window shows it after opening it onto its defaults.
bool loadImage(const QString &path, ParameterImage &image, QByteArray &content)
{
    QString error;
    if (!loadParameterFile(path, content, &error)) {
        complain(error);
        return false;
    }
    LoadDefaults(image);
    ReadParameterFile(content, image);
    std::uint8_t languageIndex = 0, comPort = 1;
    ClampParameters(image, languageIndex, comPort);
    return true;
}

QString jsonText(const QJsonValue &v)
{
    return QString::fromUtf8(v.isArray() ? QJsonDocument(v.toArray()).toJson() : QJsonDocument(v.toObject()).toJson());
}

}  // namespace

bool loadParameterFile(const QString &path, QByteArray &content, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = text(T::CannotRead).arg(path, file.errorString());
        return false;
    }
    content = file.read(kMaxParameterFileSize);
    if (!file.atEnd() || file.error() != QFileDevice::NoError) {
        *error = text(T::CannotRead).arg(path, file.errorString());
        return false;
    }
    ParameterImage probe;
    if (!ReadParameterFile(content, probe)) {
        *error = text(T::NoKeyLine).arg(path, message(Msg::UnmatchedIgnFile));
        return false;
    }
    return true;
}

ByteMask bytesHeldBy(const QByteArray &content)
{
    // A byte the file sets comes out the same over two different images.
    ParameterImage zeros, ones;
    ones.bytes.fill(0xFF);
    ReadParameterFile(content, zeros);
    ReadParameterFile(content, ones);
    ByteMask held = ParameterFileBytes() & catalogueBytes();
    for (int i = 0; i < kImageSize; ++i)
        if (zeros[i] != ones[i])
            held.reset(static_cast<std::size_t>(i));
    return held;
}

QStringList differenceLines(const std::vector<ParameterDifference> &d, const ParameterImage &context)
{
    QStringList lines;
    for (const ParameterDifference &one : d)
        lines << QStringLiteral("  ") + changeText(one, language(), context);
    return lines;
}

QJsonArray differenceJson(const std::vector<ParameterDifference> &d, const ParameterImage &context,
                          const char *before, const char *after)
{
    QJsonArray out;
    for (const ParameterDifference &one : d) {
        const Parameter &p = *one.parameter;
        out.append(QJsonObject{{QStringLiteral("key"), QString::fromStdString(p.key)},
                               {QStringLiteral("name"), parameterName(p, language(), context)},
                               {QStringLiteral("unit"), parameterUnit(p)},
                               {QLatin1String(before), valueText(p, one.before, language())},
                               {QLatin1String(after), valueText(p, one.after, language())}});
    }
    return out;
}

int runShow(const Invocation &in)
{
    ParameterImage image;
    QByteArray content;
    if (!loadImage(in.files.value(0), image, content))
        return ExitUsage;
    QJsonArray json;
    QString out;
    for (const Parameter &p : parameterCatalogue()) {
        const std::uint8_t byte = image[p.offset];
        const QString name = parameterName(p, language(), image);
        if (in.json)
            json.append(QJsonObject{{QStringLiteral("key"), QString::fromStdString(p.key)},
                                    {QStringLiteral("name"), name},
                                    {QStringLiteral("value"), valueText(p, byte, language())},
                                    {QStringLiteral("unit"), parameterUnit(p)},
                                    {QStringLiteral("byte"), byte}});
        else
            out += name + QStringLiteral(": ") + valueWithUnit(p, byte, language()) + QLatin1Char('\n');
    }
    say(in.json ? jsonText(json) : out);
    return ExitOk;
}

int runDiff(const Invocation &in)
{
    const QString &a = in.files.value(0), &b = in.files.value(1);
    ParameterImage first, second;
    QByteArray contentA, contentB;
    if (!loadImage(a, first, contentA) || !loadImage(b, second, contentB))
        return ExitUsage;
    // Only what both files speak for is compared.
    const auto d = imageDifferences(first, second, bytesHeldBy(contentA) & bytesHeldBy(contentB));
    if (in.json)
        say(jsonText(QJsonObject{{QStringLiteral("command"), QStringLiteral("diff")},
                                 {QStringLiteral("a"), a},
                                 {QStringLiteral("b"), b},
                                 {QStringLiteral("equal"), d.empty()},
                                 {QStringLiteral("differences"), differenceJson(d, second, "a", "b")}}));
    else if (d.empty())
        say(text(T::Same).arg(a, b) + QLatin1Char('\n'));
    else
        say(counted(N::Differ, static_cast<long long>(d.size())).arg(a, b) + QLatin1Char('\n') + differenceLines(d, second).join(QLatin1Char('\n'))
            + QLatin1Char('\n'));
    return d.empty() ? ExitOk : ExitDiffer;
}

int runPorts(const Invocation &in)
{
    const std::vector<SerialDevice> devices = listSerialDevices();
    QJsonArray json;
    QString out;
    for (const SerialDevice &d : devices) {
        const DeviceAccess &a = d.access;
        json.append(QJsonObject{{QStringLiteral("path"), d.path},
                                {QStringLiteral("by_id"), d.byIdPath},
                                {QStringLiteral("usb_id"), d.usbId()},
                                {QStringLiteral("serial_number"), d.serialNumber},
                                {QStringLiteral("description"), d.description},
                                {QStringLiteral("manufacturer"), d.manufacturer},
                                {QStringLiteral("may_open"), a.mayOpen},
                                {QStringLiteral("group"), a.group},
                                {QStringLiteral("in_group"), a.inGroupNow},
                                {QStringLiteral("in_group_after_login"), a.inGroupListed}});
        QStringList facts;
        for (const QString &f : {d.byIdPath, d.usbId(), d.serialNumber, d.description})
            if (!f.isEmpty())
                facts << f;
        QString access = a.mayOpen ? text(T::MayOpen) : text(T::NoAccess).arg(a.group);
        if (!a.mayOpen && !a.inGroupNow && a.inGroupListed)
            access += QStringLiteral("; ") + text(T::InGroupLater).arg(a.group);
        facts << access;
        out += d.path + QLatin1Char('\n');
        for (const QString &f : facts)
            out += QStringLiteral("    ") + f + QLatin1Char('\n');
    }
    if (in.json)
        say(jsonText(json));
    else
        say(devices.empty() ? text(T::NoDevices) + QLatin1Char('\n') : out);
    return ExitOk;
}

}  // namespace vorn::cli
