// TFormAbout, the about box: program title line, logo, maker's contact block, build stamp.
#include "About.h"

#include "BuildStamp.h"
#include "host/Colors.h"
#include "host/StatusPart.h"
#include "app/Hlav.h"
#include "app/PictureLabel.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QtDebug>

TFormAbout *FormAbout = nullptr;

namespace {

// The maker's contact block, one line per label (Label2 .. Label10).
const char *const kMakerContact[] = {
    "Service department",
    "Example Ignition Ltd.",
    "1 Workshop Street",
    "000 00 Example Town",
    "Tel.: +000 000 000 001",
    "Fax: +000 000 000 002",
    "Mobile: +000 000 000 003",
    "E-mail: service@example.com",
    "www.example.com",
};
constexpr int kTitleWidth = 231;
constexpr int kContactLines = sizeof kMakerContact / sizeof *kMakerContact;

QFont sansSerif(int pixelHeight)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    return font;
}

// A white label at its designed place; widened to its text when the box is first shown.
QLabel *whiteLabel(QLabel *label, const QString &name, const QRect &place, int fontHeight)
{
    label->setObjectName(name);
    label->setFont(sansSerif(fontHeight));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    label->setGeometry(place);
    return label;
}

}  // namespace

TFormAbout::TFormAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName("FormAbout");
    setWindowTitle(QStringLiteral("VORN4 QDV Ignition "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    vorn::ui::setBackground(this, Qt::black);

    whiteLabel(new QLabel(QStringLiteral("Programm for setting of ignition"), this), "LabelAbout",
               {16, 8, kTitleWidth, 20}, 16);

    // Decoded when the box is first shown.
    auto *logo = new PictureLabel(QStringLiteral(":/logo_about.jpg"), this);
    logo->setObjectName("Image1");
    logo->setGeometry(8, 32, 313, 49);

    for (int i = 0; i < kContactLines; ++i)
        whiteLabel(new QLabel(QString::fromUtf8(kMakerContact[i]), this),
                   QStringLiteral("Label%1").arg(i + 2), {40, 92 + 25 * i, 225, 20}, 16);

    auto *bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setGeometry(15, 326, 310, 1);
    bevel->setAutoFillBackground(true);
    QPalette line = bevel->palette();
    line.setColor(QPalette::Window, Qt::gray);
    bevel->setPalette(line);

    whiteLabel(new QLabel(buildDateText(vorn::programBuildDate()), this), "LabelDate",
               {64, 345, 63, 16}, 13);
    whiteLabel(new QLabel(QString::fromLatin1(vorn::programBuildTime()), this), "LabelTime",
               {64, 367, 65, 16}, 13);

    auto *exit = new vorn::host::ClickLabel(QStringLiteral("OK"), this);
    whiteLabel(exit, "LabelExit", {272, 360, 35, 29}, 23);
    exit->setCursor(Qt::PointingHandCursor);
    connect(exit, &vorn::host::ClickLabel::clicked, this, &QDialog::accept);

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(centredPosition(screen->size()));
}

QPoint TFormAbout::centredPosition(const QSize &screen)
{
    return {screen.width() / 2 - kOuterWidth / 2, screen.height() / 2 - kOuterHeight / 2};
}

QString TFormAbout::titleLine(int language)
{
    switch (language) {
    case 1:
        return QStringLiteral("Program für die Adjustierung der Zündung");
    case 3:
        return QStringLiteral("Program pro nastavování zapalování");
    default:
        return QStringLiteral("Programm for setting of ignition");
    }
}

QString TFormAbout::buildDateText(const char *compilerDate)
{
    // "Mmm dd yyyy", the day padded with a space below 10.
    QString text = QString::fromLatin1(compilerDate);
    if (text.size() > 4 && text.at(3) == QLatin1Char(' ') && text.at(4) == QLatin1Char(' '))
        text.remove(4, 1);
    return text;
}

void TFormAbout::FormActivate()
{
    const int language = FormHlav ? FormHlav->LanguageIndex : 0;
    auto *title = findChild<QLabel *>("LabelAbout");
    title->setText(titleLine(language));
    // The German line is longer than the designed width; let it run to the right edge.
    const int room = kClientWidth - title->x();
    title->resize(qBound(kTitleWidth, title->sizeHint().width(), room), title->height());
}

void TFormAbout::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TFormAbout::showEvent(QShowEvent *event)
{
    // Each label as wide as its text needs, never narrower than designed. Measured here, not
    // when the box is made at start-up: the box's font is looked up on first measuring, and
    // that lookup was a sixteenth of the program's start for a box most runs never show.
    if (!labelsFitted_) {
        labelsFitted_ = true;
        for (QLabel *label : findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            if (label->objectName() != u"Image1" && label->sizeHint().width() > label->width())
                label->resize(label->sizeHint().width(), label->height());
    }
    // Not every platform activates a window when it is shown (offscreen, some window
    // managers), and the title line must be current whenever the box is seen.
    FormActivate();
    QDialog::showEvent(event);
}

void TFormHlav::MenuAboutClick()
{
    if (FormAbout)
        runModal([] { return FormAbout->exec(); }, int(QDialog::Rejected));
}
