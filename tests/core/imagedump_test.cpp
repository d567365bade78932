// The image dump: its exact layout and how much of the image a damaged dump restores.
#include "files/ImageDump.h"

#include <QtTest>

using vorn::ParameterImage;

namespace {

ParameterImage patternImage(int seed)
{
    ParameterImage img;
    for (int i = 0; i < vorn::kImageSize; ++i)
        img[i] = static_cast<std::uint8_t>(i * 13 + seed);
    return img;
}

QByteArray numbers(int count, int value)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += QByteArray::number(value) + ' ';
    return out;
}

}  // namespace

class ImageDumpTest : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void roundTrip();
    void partialDumps_data();
    void partialDumps();
};

void ImageDumpTest::layout()
{
    ParameterImage img;
    img[0] = 255;
    img[9] = 7;
    img[10] = 100;
    img[299] = 42;
    const QByteArray dump = vorn::WriteImageDump(img);
    QVERIFY(dump.endsWith("\r\n\r\n"));
    QList<QByteArray> lines = dump.split('\n');
    QCOMPARE(lines.takeLast(), QByteArray());   // nothing after the last line break
    QCOMPARE(lines.size(), vorn::kDumpLineCount);
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY2(lines[i].endsWith('\r'), "every line ends with CR LF");
        lines[i].chop(1);
        const bool blockEnd = (i + 1) % 11 == 0;
        QCOMPARE(lines[i].size(), blockEnd ? 0 : 60);
    }
    QCOMPARE(lines[0], QByteArray("  255     0     0     0     0     0     0     0     0     7 "));
    QCOMPARE(lines[1].left(12), QByteArray("  100     0 "));
    QCOMPARE(lines[31].right(6), QByteArray("   42 "));
}

void ImageDumpTest::roundTrip()
{
    const ParameterImage original = patternImage(5);
    ParameterImage read = patternImage(77);
    QCOMPARE(vorn::ReadImageDump(vorn::WriteImageDump(original), read), vorn::kImageSize);
    QCOMPARE(read, original);
}

void ImageDumpTest::partialDumps_data()
{
    QTest::addColumn<QByteArray>("dump");
    QTest::addColumn<int>("count");      // bytes 0..count-1 become `value`, the rest keep theirs
    QTest::addColumn<int>("value");

    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("150 numbers") << numbers(150, 9) << 150 << 9;
    QTest::newRow("more than 300 numbers") << numbers(450, 3) << 300 << 3;
    QTest::newRow("low 8 bits") << numbers(20, 258) << 20 << 2;
    QTest::newRow("negative wraps") << numbers(4, -1) << 4 << 255;
    QTest::newRow("text stops reading") << numbers(12, 6) + "abc " + numbers(40, 6) << 12 << 6;
    QTest::newRow("digits then text stops") << numbers(2, 6) + "7x 8" << 2 << 6;
    QTest::newRow("any whitespace") << QByteArray("1\t1\n1\r\n1\v1\f1") << 6 << 1;
    // 10^k is a multiple of 256 from k = 8 on, so a run of nines is 255 in the low 8 bits.
    QTest::newRow("huge numbers") << QByteArray(50000, '9') + ' ' + QByteArray(3000, '9') << 2 << 255;
}

void ImageDumpTest::partialDumps()
{
    QFETCH(QByteArray, dump);
    QFETCH(int, count);
    QFETCH(int, value);
    const ParameterImage before = patternImage(1);
    ParameterImage img = before;
    QCOMPARE(vorn::ReadImageDump(dump, img), count);
    for (int i = 0; i < vorn::kImageSize; ++i)
        QCOMPARE(img[i], i < count ? static_cast<std::uint8_t>(value) : before[i]);
}

QTEST_GUILESS_MAIN(ImageDumpTest)
#include "imagedump_test.moc"
