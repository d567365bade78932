// Whitespace-separated words and numbers of a text file, as the file readers take them.
#include "WordReader.h"

namespace vorn {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

void WordReader::skipSpace()
{
    while (pos_ < text_.size() && isSpace(text_[pos_]))
        ++pos_;
}

qsizetype WordReader::wordEnd() const
{
    qsizetype end = pos_;
    while (end < text_.size() && !isSpace(text_[end]))
        ++end;
    return end;
}

bool WordReader::atEnd()
{
    skipSpace();
    return pos_ >= text_.size();
}

QByteArrayView WordReader::next()
{
    skipSpace();
    const qsizetype end = wordEnd();
    const QByteArrayView word = text_.sliced(pos_, end - pos_);
    pos_ = end;
    return word;
}

std::optional<std::uint16_t> WordReader::nextNumber()
{
    skipSpace();
    const qsizetype end = wordEnd();
    qsizetype i = pos_;
    const bool negative = i < end && text_[i] == '-';
    if (i < end && (text_[i] == '-' || text_[i] == '+'))
        ++i;
    if (i == end)
        return std::nullopt;
    // Accumulating modulo 2^16 gives the low 16 bits of the whole number, however long.
    std::uint16_t value = 0;
    for (; i < end; ++i) {
        const char c = text_[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = static_cast<std::uint16_t>(value * 10u + static_cast<unsigned>(c - '0'));
    }
    pos_ = end;
    return negative ? static_cast<std::uint16_t>(0u - value) : value;
}

}  // namespace vorn
