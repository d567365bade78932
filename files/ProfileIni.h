// An INI settings file read and written the way the Win32 profile functions do it.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vorn {

// The settings file as a list of its lines, so that saving changes only the keys written
// and keeps every other section, key, comment and blank line byte for byte.
//
// - Section and key names match case-insensitively; the first matching section and the
//   first matching key in it count, as with the Win32 profile functions.
// - Keys are written literally ("PageControl1->ActivePageIndex"), in the order written;
//   a new key goes after the last key of its section, a new section at the end.
// - Values are read verbatim apart from the spaces around them: no escapes, no quoting,
//   so a hand-written "C:\data\x.dat" reads back unchanged.
// - Text is UTF-8; line ends of an existing file are kept (CR LF for a new file).
//
// Example: ProfileIni(configPath(kSettingsFileName)).readString("PORTS", "COM3")
class ProfileIni {
public:
    // Reads the file at once; a missing or unreadable file reads as empty.
    explicit ProfileIni(const QString &path);

    // A settings file is a few hundred bytes; one beyond this is not read.
    static constexpr qint64 kMaxFileSize = 1 << 20;
    // False when the file exists but could not be read whole (not a regular file, no
    // permission, a read error, over kMaxFileSize): saving over it would lose what it holds.
    bool readWhole() const { return readWhole_; }

    const QString &path() const { return path_; }
    // Reads the file again, dropping unsaved changes.
    void reload();

    bool contains(const QString &section, const QString &key) const;
    // The value of the key, or defaultValue when the section or key is missing.
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    // The value as a whole decimal number (optional sign, digits, nothing else), or
    // defaultValue when it is missing, not a whole number or beyond 64 bits. A number
    // beyond 32 bits keeps its low 32 bits.
    int readInt(const QString &section, const QString &key, int defaultValue) const;

    // Sets a key in memory; save() puts it on disk. Line breaks in the value would start
    // new lines (new keys, new sections) in the file, so each becomes a space.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInt(const QString &section, const QString &key, int value);

    // Replaces the file atomically, creating its folder when needed. False on any failure;
    // the previous file is then unchanged.
    bool save() const;
    // The file as save() writes it.
    QByteArray content() const;

private:
    struct Line {
        QByteArray text;      // the line without its line break
        QByteArray ending;    // "\r\n", "\n" or empty for a last line without one
    };
    int findSection(const QString &section) const;   // index of the header line, or -1
    int findKey(int sectionLine, const QString &key) const;   // index of the key line, or -1

    QString path_;
    QList<Line> lines_;
    QByteArray newline_ = "\r\n";
    bool readWhole_ = true;
};

// Parses a whole decimal number as readInt() does; ok tells whether it was one.
qint64 parseWholeNumber(const QString &text, bool *ok);

}  // namespace vorn
