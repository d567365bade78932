// Identification texts from block 0 and the unit's month codes.
#include "Identification.h"

#include <array>

namespace vorn {

namespace {

// Characters of the image from offset `from` on, as a C string of at most `count` bytes.
QString textUntilZero(const ParameterImage &image, int from, int count)
{
    QString s;
    for (int i = 0; i < count && image[from + i] != 0; ++i)
        s += QChar(image[from + i]);   // the unit's 8-bit characters read as Latin-1
    return s;
}

}  // namespace

QString monthFromCode(std::uint8_t code)
{
    static constexpr std::array<std::uint8_t, 12> kCodes{25, 13, 32, 35, 39, 45, 43, 29, 40, 38, 51, 12};
    for (int m = 0; m < 12; ++m)
        if (kCodes[m] == code)
            return QString::asprintf("%2d", m + 1);
    return QStringLiteral("00");
}

UnitIdentification identificationFromImage(const ParameterImage &image)
{
    UnitIdentification id;
    if (image[Off::FreeText] != 0) {
        id.version = textUntilZero(image, Off::FreeText, Off::FreeTextLength);
    } else {
        // A zero character ends the name early, as it would end a C string; the number is
        // kept to two digits so the name stays five characters long.
        const QString name = textUntilZero(image, Off::VersionName, 3);
        id.version = name.size() < 3 ? name
                                     : name + QString::asprintf("%02d", image[Off::VersionNumber] % 100);
    }
    id.date = QString::asprintf("%2d.", image[Off::Day]) + monthFromCode(image[Off::MonthCode])
              + QString::asprintf(".20%02d", image[Off::Year]);
    id.time = QString::asprintf("%02d:%02d", image[Off::Hour], image[Off::Minute]);
    id.version.truncate(kIdentificationMaxLength);
    id.date.truncate(kIdentificationMaxLength);
    return id;
}

}  // namespace vorn
