#include "TuneHash.h"

#include <QCryptographicHash>

namespace vorn {

QString tuneHash(const ParameterImage &image)
{
    const auto *bytes = reinterpret_cast<const char *>(image.bytes.data());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(bytes + kBlockSize, Off::Reserved101 - kBlockSize));
    hash.addData(QByteArrayView(bytes + Off::Reserved101 + 1, kImageSize - Off::Reserved101 - 1));
    return QString::fromLatin1(hash.result().toHex());
}

}  // namespace vorn
