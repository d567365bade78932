// Tests of the about box: placement, title line per language, logo, build stamp, OK label.
#include "about/About.h"
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void centredPosition_data();
    void centredPosition();
    void createdHiddenAndCentred();
    void titleLineFollowsLanguageAtEachOpening();
    void logoDecodesFromJpeg();
    void buildDateText_data();
    void buildDateText();
    void buildStampIsThisBuilds();

private:
    // Opens the box through Help, About; notes its title line and place while it is up,
    // then clicks "OK". Returns the dialog's result.
    int openAndClickOk(QString *title, QPoint *place);
    QStringList clipped_;   // labels narrower than their text, as last seen open

    QTemporaryDir *dir_ = nullptr;
    ScriptedInteraction answers_;
    TFormHlav *form_ = nullptr;
};

void AboutTest::init()
{
    dir_ = new QTemporaryDir;
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    answers_.answer = 0;
    form_ = new TFormHlav;
    form_->setUserInteraction(&answers_);
    form_->FormCreate({});
    FormAbout = new TFormAbout(form_);
}

void AboutTest::cleanup()
{
    form_->close();
    delete form_;   // the about box goes with it
    form_ = nullptr;
    FormAbout = nullptr;
    delete dir_;
}

int AboutTest::openAndClickOk(QString *title, QPoint *place)
{
    bool clicked = false;
    QTimer::singleShot(0, FormAbout, [&] {
        *title = FormAbout->findChild<QLabel *>("LabelAbout")->text();
        *place = FormAbout->pos();
        // Every text label fits its text; the title line runs at most to the box's edge.
        clipped_.clear();
        for (QLabel *label : FormAbout->findChildren<QLabel *>())
            if (label->objectName() != u"Image1" && label->objectName() != u"LabelAbout"
                && label->width() < label->sizeHint().width())
                clipped_ << label->objectName();
        QTest::mouseClick(FormAbout->findChild<QLabel *>("LabelExit"), Qt::LeftButton);
        clicked = true;
    });
    // Should the click not close the box, this ends the modal loop with a rejection, which
    // the caller sees as a failure instead of a hanging test.
    QTimer::singleShot(10000, FormAbout, [] { FormAbout->reject(); });
    form_->action("MenuAbout")->trigger();
    return clicked ? FormAbout->result() : -1;
}

void AboutTest::centredPosition_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("topLeft");
    // Halving screen and box separately gives 339; halving their difference would give 338.
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QPoint(339, 167);
    QTest::newRow("800 x 600") << QSize(800, 600) << QPoint(227, 83);
    QTest::newRow("screen smaller than the box") << QSize(320, 240) << QPoint(-13, -97);
}

void AboutTest::centredPosition()
{
    QFETCH(QSize, screen);
    QFETCH(QPoint, topLeft);
    QCOMPARE(TFormAbout::centredPosition(screen), topLeft);
}

void AboutTest::createdHiddenAndCentred()
{
    QVERIFY(!FormAbout->isVisible());
    QCOMPARE(FormAbout->windowTitle(), QStringLiteral("VORN4 QDV Ignition "));
    QCOMPARE(FormAbout->pos(),
             TFormAbout::centredPosition(QGuiApplication::primaryScreen()->size()));
}

void AboutTest::titleLineFollowsLanguageAtEachOpening()
{
    const QString english = QStringLiteral("Programm for setting of ignition");
    const struct {
        const char *menu;
        QString title;
    } openings[] = {
        {"MenuEnglish", english},
        {"MenuGerman", QStringLiteral("Program für die Adjustierung der Zündung")},
        {"MenuFrench", english},   // no French line of its own
        {"MenuCzech", QStringLiteral("Program pro nastavování zapalování")},
    };
    for (const auto &opening : openings) {
        // Where the user left the box last time is where it opens.
        const QPoint moved = FormAbout->pos() + QPoint(7, 5);
        FormAbout->move(moved);
        form_->action(opening.menu)->trigger();
        QString seen;
        QPoint place;
        QCOMPARE(openAndClickOk(&seen, &place), int(QDialog::Accepted));
        QVERIFY(!FormAbout->isVisible());
        QCOMPARE(seen, opening.title);
        QCOMPARE(place, moved);
        QVERIFY2(clipped_.isEmpty(), qPrintable(clipped_.join(' ')));
    }
}

void AboutTest::logoDecodesFromJpeg()
{
    QVERIFY2(QImageReader::supportedImageFormats().contains("jpeg"),
             "Qt's JPEG image plugin is missing: the logos cannot be shown");
    QImageReader reader(QStringLiteral(":/logo_about.jpg"));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage logo = reader.read();
    QVERIFY2(!logo.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(logo.size(), QSize(312, 48));
    // The logo is decoded when the box is first drawn.
    FormAbout->grab();
    const QPixmap shown = FormAbout->findChild<QLabel *>("Image1")->pixmap();
    QCOMPARE(shown.size(), QSize(312, 48));
}

void AboutTest::buildDateText_data()
{
    QTest::addColumn<QByteArray>("compiler");
    QTest::addColumn<QString>("shown");
    QTest::newRow("two-digit day") << QByteArray("Aug 29 2005") << QStringLiteral("Aug 29 2005");
    QTest::newRow("one-digit day loses its padding") << QByteArray("Aug  9 2005")
                                                     << QStringLiteral("Aug 9 2005");
}

void AboutTest::buildDateText()
{
    QFETCH(QByteArray, compiler);
    QFETCH(QString, shown);
    QCOMPARE(TFormAbout::buildDateText(compiler.constData()), shown);
}

// The stamp is written when the window library is built anew, so it can never be older than
// the library this test was linked with; a stamp fixed when About.cpp last compiled would be.
void AboutTest::buildStampIsThisBuilds()
{
    static const QRegularExpression date(
        QStringLiteral("^(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [1-9][0-9]? [0-9]{4}$"));
    static const QRegularExpression time(QStringLiteral("^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]$"));
    const QString dateText = FormAbout->findChild<QLabel *>("LabelDate")->text();
    const QString timeText = FormAbout->findChild<QLabel *>("LabelTime")->text();
    QVERIFY2(date.match(dateText).hasMatch(), qPrintable(dateText));
    QVERIFY2(time.match(timeText).hasMatch(), qPrintable(timeText));

    const QDateTime stamp = QLocale::c().toDateTime(dateText + ' ' + timeText, "MMM d yyyy HH:mm:ss");
    QVERIFY2(stamp.isValid(), qPrintable(dateText + ' ' + timeText));
    const QDateTime libraryBuilt = QFileInfo(QStringLiteral(VORN4_UI_LIBRARY)).lastModified();
    QVERIFY(libraryBuilt.isValid());
    // Whole seconds in the stamp: allow the one the library was written in.
    QVERIFY2(stamp >= libraryBuilt.addSecs(-1),
             qPrintable(stamp.toString(Qt::ISODate) + " < " + libraryBuilt.toString(Qt::ISODate)));
    QVERIFY(stamp <= QDateTime::currentDateTime());
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
