// Reading the page count and page sizes out of a PDF file, for tests of printed output.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QSizeF>

namespace pdfinspect {

// The page objects of the file. Written for the uncompressed object dictionaries that Qt's
// PDF writer and the PDF print queue produce; a file that packs its objects into compressed
// streams shows no pages here, which a test then reports as a failure, not a pass.
inline int pageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral(R"(/Type\s*/Page(?![A-Za-z]))"));
    int count = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++count;
    return count;
}

// Width and height in points of each /MediaBox in the file, in file order.
inline QList<QSizeF> mediaBoxes(const QByteArray &pdf)
{
    static const QRegularExpression box(QStringLiteral(
        R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])"));
    QList<QSizeF> sizes;
    for (auto it = box.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
        const auto m = it.next();
        sizes << QSizeF(m.captured(3).toDouble() - m.captured(1).toDouble(),
                        m.captured(4).toDouble() - m.captured(2).toDouble());
    }
    return sizes;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace pdfinspect
