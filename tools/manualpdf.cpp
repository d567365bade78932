// Build tool: turns one Markdown manual into a PDF with Qt's own text layout and PDF writer.
// Usage: vorn4-manualpdf INPUT.md OUTPUT.pdf TITLE
// Pictures are named relative to the Markdown file and scaled to the width of the text.
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <cstdio>

namespace {

// The text is laid out in 96 dpi units on an A4 page less the margins (about 640 wide).
constexpr qreal kLayoutDpi = 96;
constexpr qreal kPictureWidth = 600;

bool loadPictures(QTextDocument &doc, const QString &folder)
{
    bool ok = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QImage image(folder + QLatin1Char('/') + picture.name());
            if (image.isNull()) {
                std::fprintf(stderr, "vorn4-manualpdf: cannot read picture %s\n", qPrintable(picture.name()));
                ok = false;
                continue;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(picture.name()), image);
            picture.setWidth(std::min<qreal>(kPictureWidth, image.width()));
            picture.setHeight(picture.width() * image.height() / image.width());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }
    return ok;
}

bool startsWithPicture(const QTextBlock &block)
{
    return block.isValid() && !block.begin().atEnd() && block.begin().fragment().charFormat().isImageFormat();
}

// Every chapter (a level-1 heading after the first) starts on a new page, and so does every
// section that opens with a picture, so that no heading is left alone at the foot of a page
// while its picture goes to the next.
void breakBeforeChapters(QTextDocument &doc)
{
    bool first = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        const bool chapter = level == 1;
        const bool pictured = level > 1 && startsWithPicture(block.next());
        if (!chapter && !pictured)
            continue;
        if (!first) {
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(format);
        }
        first = false;
    }
}

// Tables get thin collapsed borders, some padding and the full width of the text.
void styleTables(QTextDocument &doc)
{
    for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorderCollapse(true);
        format.setBorder(1);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(QColor(0x99, 0x99, 0x99));
        format.setCellPadding(3);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        table->setFormat(format);
    }
}

}  // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fputs("usage: vorn4-manualpdf INPUT.md OUTPUT.pdf TITLE\n", stderr);
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QFile source(input);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vorn4-manualpdf: cannot read %s\n", argv[1]);
        return 1;
    }

    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    doc.setMarkdown(QString::fromUtf8(source.readAll()), QTextDocument::MarkdownDialectGitHub);
    if (!loadPictures(doc, QFileInfo(input).absolutePath()))
        return 1;
    breakBeforeChapters(doc);
    styleTables(doc);

    // Written beside the target and renamed, so a failed run never leaves half a manual.
    const QString partial = output + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setTitle(QString::fromLocal8Bit(argv[3]));
        writer.setCreator(QStringLiteral("vorn4-manualpdf"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
        writer.setResolution(300);
        const QRectF text = writer.pageLayout().paintRect(QPageLayout::Inch);
        doc.setPageSize(text.size() * kLayoutDpi);
        doc.print(&writer);
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "vorn4-manualpdf: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
