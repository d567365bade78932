// Fuzz entry for the *.ign reader: no crash, no change without the key, stable rewrites.
#include "files/IgnFile.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    vorn::ParameterImage image;
    for (int i = 0; i < vorn::kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const vorn::ParameterImage before = image;

    if (!vorn::ReadParameterFile(content, image)) {
        if (image != before)
            std::abort();   // a file without the key must leave the image alone
        return 0;
    }
    // Whatever a file put into the image, saving it and opening the saved file gives the
    // same file again, and block 0 is never touched.
    const QByteArray written = vorn::WriteParameterFile(image);
    vorn::ParameterImage again = image;
    if (!vorn::ReadParameterFile(written, again) || vorn::WriteParameterFile(again) != written)
        std::abort();
    for (int i = 0; i < vorn::kBlockSize; ++i)
        if (again[i] != before[i] || image[i] != before[i])
            std::abort();
    return 0;
}
