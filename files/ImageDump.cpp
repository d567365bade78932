// The image dump beside the settings file: all 300 bytes of the image as numbers.
#include "ImageDump.h"

#include "WordReader.h"

namespace vorn {

QByteArray WriteImageDump(const ParameterImage &image)
{
    QByteArray out;
    out.reserve(kImageSize * 6 + kDumpLineCount * 2);
    for (int i = 0; i < kImageSize; ++i) {
        out += QByteArray::number(image[i]).rightJustified(5, ' ') + ' ';
        if ((i + 1) % 10 == 0)
            out += "\r\n";
        if ((i + 1) % kBlockSize == 0)
            out += "\r\n";
    }
    return out;
}

int ReadImageDump(QByteArrayView content, ParameterImage &image)
{
    WordReader words(content);
    int count = 0;
    while (count < kImageSize) {
        const auto value = words.nextNumber();
        if (!value)
            break;
        image[count++] = static_cast<std::uint8_t>(*value);
    }
    return count;
}

}  // namespace vorn
