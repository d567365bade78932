// Whitespace-separated words and numbers of a text file, as the file readers take them.
#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace vorn {

// Splits text into words at spaces, tabs and line breaks. Words of any length are taken
// whole; nothing is copied, nothing is read beyond the text.
class WordReader {
public:
    explicit WordReader(QByteArrayView text) : text_(text) {}

    bool atEnd();
    // The next word, consumed; empty at the end.
    QByteArrayView next();
    // The next word when it is a decimal number (an optional sign, then digits only),
    // consumed, as its low 16 bits; a "-" negates modulo 2^16 as an unsigned read would.
    // Anything else is left in place and gives nullopt.
    std::optional<std::uint16_t> nextNumber();

private:
    void skipSpace();
    qsizetype wordEnd() const;

    QByteArrayView text_;
    qsizetype pos_ = 0;
};

}  // namespace vorn
