// Fuzz entry for the image dump reader: no crash, nothing beyond what was read changes.
#include "files/ImageDump.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    vorn::ParameterImage image;
    for (int i = 0; i < vorn::kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 13 + 1);
    const vorn::ParameterImage before = image;

    const int count = vorn::ReadImageDump(content, image);
    if (count < 0 || count > vorn::kImageSize)
        std::abort();
    for (int i = count; i < vorn::kImageSize; ++i)
        if (image[i] != before[i])
            std::abort();
    vorn::ParameterImage again = before;
    if (vorn::ReadImageDump(vorn::WriteImageDump(image), again) != vorn::kImageSize || again != image)
        std::abort();
    return 0;
}
