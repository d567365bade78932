// The image dump: its exact layout, and how much of the image a short or damaged dump restores.
#include "files/ImageDump.h"

#include <QtTest>

using vorn::ParameterImage;

class ImageDumpTest : public QObject {
    Q_OBJECT
private slots:
    void layoutAndRoundTrip();
    void partialDumps_data();
    void partialDumps();
};

void ImageDumpTest::layoutAndRoundTrip()
{
    ParameterImage img;
    for (int i = 0; i < vorn::kImageSize; ++i)
        img[i] = static_cast<std::uint8_t>(i * 13 + 5);
    img[9] = 255;
    const QByteArray dump = vorn::WriteImageDump(img);
    QList<QByteArray> lines = dump.split('\n');
    QCOMPARE(lines.takeLast(), QByteArray());   // the file ends with a line break
    QCOMPARE(lines.size(), vorn::kDumpLineCount);
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines[i].size(), (i + 1) % 11 == 0 ? 1 : 61);   // ten "%5u " and CR, or an empty line
    QCOMPARE(lines[0], QByteArray("    5    18    31    44    57    70    83    96   109   255 \r"));

    ParameterImage read;
    QCOMPARE(vorn::ReadImageDump(dump, read), vorn::kImageSize);
    QCOMPARE(read, img);
}

void ImageDumpTest::partialDumps_data()
{
    QTest::addColumn<QByteArray>("dump");
    QTest::addColumn<int>("count");   // bytes 0..count-1 become `value`, the rest keep theirs
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("150 numbers") << QByteArray("9 ").repeated(150) << 150 << 9;
    QTest::newRow("more than 300") << QByteArray("3\r\n").repeated(450) << 300 << 3;
    QTest::newRow("low 8 bits") << QByteArray(" 258").repeated(20) << 20 << 2;
    QTest::newRow("negative wraps") << QByteArray("-1\t").repeated(4) << 4 << 255;
    QTest::newRow("text stops reading") << QByteArray("6 ").repeated(12) + "abc 6 6" << 12 << 6;
    QTest::newRow("digits then text stop") << QByteArray("6 6 7x 8") << 2 << 6;
    // 10^k is a multiple of 256 from k = 8 on, so a run of nines is 255 in the low 8 bits.
    QTest::newRow("huge numbers") << QByteArray(50000, '9') + ' ' + QByteArray(3000, '9') << 2 << 255;
}

void ImageDumpTest::partialDumps()
{
    QFETCH(QByteArray, dump);
    QFETCH(int, count);
    QFETCH(int, value);
    ParameterImage before;
    for (int i = 0; i < vorn::kImageSize; ++i)
        before[i] = static_cast<std::uint8_t>(i * 13 + 1);
    ParameterImage img = before;
    QCOMPARE(vorn::ReadImageDump(dump, img), count);
    for (int i = 0; i < vorn::kImageSize; ++i)
        QCOMPARE(img[i], i < count ? static_cast<std::uint8_t>(value) : before[i]);
}

QTEST_GUILESS_MAIN(ImageDumpTest)
#include "imagedump_test.moc"
