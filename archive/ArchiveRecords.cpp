#include "ArchiveRecords.h"

#include "link/Identification.h"

namespace vorn {

namespace {

constexpr const char *kKindWords[kEventKindCount] = {"read", "program", "verify", "compare"};
constexpr const char *kLabelWords[kLabelKeyCount] = {"customer", "bike", "registration", "note"};

template <int N>
int indexOfWord(const char *const (&words)[N], QStringView word)
{
    for (int i = 0; i < N; ++i)
        if (word == QLatin1String(words[i]))
            return i;
    return -1;
}

}  // namespace

QByteArray tuneBytes(const ParameterImage &image)
{
    const auto *bytes = reinterpret_cast<const char *>(image.bytes.data());
    QByteArray tune(bytes + kBlockSize, Off::Reserved101 - kBlockSize);
    tune.append(bytes + Off::Reserved101 + 1, kImageSize - Off::Reserved101 - 1);
    return tune;
}

std::optional<ParameterImage> imageFromTuneBytes(const QByteArray &bytes)
{
    if (bytes.size() != kTuneSize)
        return std::nullopt;
    ParameterImage image;
    const auto *b = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    const int beforeReserved = Off::Reserved101 - kBlockSize;
    std::copy(b, b + beforeReserved, image.bytes.begin() + kBlockSize);
    std::copy(b + beforeReserved, b + kTuneSize, image.bytes.begin() + Off::Reserved101 + 1);
    return image;
}

const char *eventKindWord(EventKind kind) { return kKindWords[static_cast<int>(kind)]; }

std::optional<EventKind> eventKindFromWord(QStringView word)
{
    const int i = indexOfWord(kKindWords, word);
    return i < 0 ? std::nullopt : std::optional(static_cast<EventKind>(i));
}

const char *labelKeyWord(LabelKey key) { return kLabelWords[static_cast<int>(key)]; }

std::optional<LabelKey> labelKeyFromWord(QStringView word)
{
    const int i = indexOfWord(kLabelWords, word);
    return i < 0 ? std::nullopt : std::optional(static_cast<LabelKey>(i));
}

UnitTexts unitTextsFromImage(const ParameterImage &image)
{
    UnitTexts t;
    for (int i = 0; i < Off::FreeTextLength && image[Off::FreeText + i] != 0; ++i)
        t.freeText += QChar(image[Off::FreeText + i]);   // Latin-1, as the window shows it
    // The window shows the free text in place of the program's name; the archive keeps both.
    ParameterImage withoutFreeText = image;
    withoutFreeText[Off::FreeText] = 0;
    const UnitIdentification id = identificationFromImage(withoutFreeText);
    t.version = id.version;
    t.date = id.date;
    t.time = id.time;
    return t;
}

}  // namespace vorn
