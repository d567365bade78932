// The tune hash.
#include "TuneHash.h"

#include "ParameterCatalogue.h"

#include <QCryptographicHash>

namespace vorn {

QString tuneHash(const ParameterImage &image)
{
    const ByteMask &named = catalogueBytes();
    QByteArray bytes;
    bytes.reserve(2 * kBlockSize);
    for (int o = kBlockSize; o < kImageSize; ++o)
        if (named.test(static_cast<std::size_t>(o)))
            bytes.append(static_cast<char>(image[o]));
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

}  // namespace vorn
