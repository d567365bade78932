// An INI settings file read and written the way the Win32 profile functions do it.
#include "ProfileIni.h"

#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace vorn {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QByteArray name;    // section or key name, trimmed
    QByteArray value;   // key value, trimmed
};

ParsedLine parseLine(QByteArray text, bool first)
{
    if (first && text.startsWith(kUtf8Bom))
        text.remove(0, kUtf8Bom.size());
    ParsedLine p;
    const QByteArray t = text.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#'))
        return p;
    if (t.startsWith('[')) {
        const int close = t.indexOf(']');
        p.kind = LineKind::Section;
        p.name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
        return p;
    }
    const int eq = t.indexOf('=');
    if (eq <= 0)
        return p;
    p.kind = LineKind::Key;
    p.name = t.left(eq).trimmed();
    p.value = t.mid(eq + 1).trimmed();
    return p;
}

bool sameName(const QByteArray &raw, const QString &wanted)
{
    return QString::fromUtf8(raw).compare(wanted, Qt::CaseInsensitive) == 0;
}

// A value's bytes as they are. The plain UTF-8 decoding drops a byte order mark at the
// start of what it decodes, which would lose one that begins a value (only the file's own
// mark, before its first line, is a mark).
QString valueText(const QByteArray &bytes)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decode(bytes);
}

QByteArray withoutLineBreaks(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

}  // namespace

qint64 parseWholeNumber(const QString &text, bool *ok)
{
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    bool digits = i < t.size();
    for (int j = i; j < t.size(); ++j)
        if (t[j] < QLatin1Char('0') || t[j] > QLatin1Char('9'))
            digits = false;
    bool converted = false;
    const qint64 value = digits ? t.toLongLong(&converted) : 0;
    if (ok)
        *ok = converted;
    return converted ? value : 0;
}

ProfileIni::ProfileIni(const QString &path) : path_(path)
{
    reload();
}

void ProfileIni::reload()
{
    lines_.clear();
    newline_ = "\r\n";
    readWhole_ = true;
    const QFileInfo info(path_);
    if (!info.exists())
        return;   // a new file
    QFile f(path_);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly)) {
        readWhole_ = false;
        return;
    }
    // All of it: whatever is not ours must survive a save. The buffer is sized by the file,
    // not by the limit: the port hint reads this file about once a second while no unit
    // answers, and a megabyte taken and given back each time left the heap in pieces.
    if (f.size() > kMaxFileSize) {
        readWhole_ = false;
        return;
    }
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError || data.size() > kMaxFileSize) {
        readWhole_ = false;
        return;
    }
    bool newlineSeen = false;
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype lf = data.indexOf('\n', start);
        if (lf < 0) {
            lines_.append({data.mid(start), QByteArray()});
            break;
        }
        Line line;
        const bool crlf = lf > start && data[lf - 1] == '\r';
        line.text = data.mid(start, lf - start - (crlf ? 1 : 0));
        line.ending = crlf ? QByteArray("\r\n") : QByteArray("\n");
        if (!newlineSeen) {
            newline_ = line.ending;
            newlineSeen = true;
        }
        lines_.append(line);
        start = lf + 1;
    }
}

int ProfileIni::findSection(const QString &section) const
{
    for (int i = 0; i < lines_.size(); ++i) {
        const ParsedLine p = parseLine(lines_[i].text, i == 0);
        if (p.kind == LineKind::Section && sameName(p.name, section))
            return i;
    }
    return -1;
}

int ProfileIni::findKey(int sectionLine, const QString &key) const
{
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        const ParsedLine p = parseLine(lines_[i].text, false);
        if (p.kind == LineKind::Section)
            return -1;
        if (p.kind == LineKind::Key && sameName(p.name, key))
            return i;
    }
    return -1;
}

bool ProfileIni::contains(const QString &section, const QString &key) const
{
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QString ProfileIni::readString(const QString &section, const QString &key,
                               const QString &defaultValue) const
{
    const int s = findSection(section);
    const int k = s < 0 ? -1 : findKey(s, key);
    if (k < 0)
        return defaultValue;
    return valueText(parseLine(lines_[k].text, k == 0).value);
}

int ProfileIni::readInt(const QString &section, const QString &key, int defaultValue) const
{
    if (!contains(section, key))
        return defaultValue;
    bool ok = false;
    const qint64 v = parseWholeNumber(readString(section, key), &ok);
    return ok ? static_cast<int>(static_cast<quint32>(v)) : defaultValue;
}

void ProfileIni::writeString(const QString &section, const QString &key, const QString &value)
{
    const Line keyLine{withoutLineBreaks(key) + '=' + withoutLineBreaks(value), newline_};
    const int s = findSection(section);
    if (s < 0) {
        if (!lines_.isEmpty() && lines_.last().ending.isEmpty())
            lines_.last().ending = newline_;
        lines_.append({'[' + withoutLineBreaks(section) + ']', newline_});
        lines_.append(keyLine);
        return;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        lines_[k].text = keyLine.text;
        return;
    }
    // After the last non-blank line of the section, so a blank line before the next
    // section stays where it was.
    int last = s;
    for (int i = s + 1; i < lines_.size(); ++i) {
        const ParsedLine p = parseLine(lines_[i].text, false);
        if (p.kind == LineKind::Section)
            break;
        if (!lines_[i].text.trimmed().isEmpty())
            last = i;
    }
    if (lines_[last].ending.isEmpty())
        lines_[last].ending = newline_;
    lines_.insert(last + 1, keyLine);
}

void ProfileIni::writeInt(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

QByteArray ProfileIni::content() const
{
    QByteArray out;
    for (const Line &l : lines_)
        out += l.text + l.ending;
    return out;
}

bool ProfileIni::save() const
{
    return writeFileAtomically(path_, content());
}

}  // namespace vorn
