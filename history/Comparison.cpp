// A comparison of two images by parameter name.
#include "Comparison.h"

#include "HistoryTexts.h"
#include "link/Session.h"

#include <algorithm>

namespace vorn {

bool Comparison::cellDiffers(int row, int column) const
{
    const int o = Off::Advance + 10 * row + column;
    return mask.test(static_cast<std::size_t>(o)) && window[o] != other[o];
}

QString comparisonText(const Comparison &c, const QString &otherTitle, int language, const QLocale &locale,
                       const QString &firstTitle)
{
    QStringList lines;
    lines << text4(htext::CompareParameter, language) + '\t'
                 + (firstTitle.isEmpty() ? text4(htext::CompareWindow, language) : firstTitle) + '\t' + otherTitle;
    const auto diffs = c.differences();
    for (const ParameterDifference &d : diffs)
        lines << parameterName(*d.parameter, language, c.window, locale) + '\t'
                     + valueWithUnit(*d.parameter, d.before, language, locale) + '\t'
                     + valueWithUnit(*d.parameter, d.after, language, locale);
    if (diffs.empty())
        lines << text4(htext::CompareNoDiff, language);
    // A map the other side never sent (a Verify that stopped before block 2) is not shown
    // as if it had been compared.
    if (!c.mask.test(Off::Advance))
        return lines.join('\n') + '\n';
    lines << QString() << text4(htext::CompareMapTitle, language);
    QString head = QStringLiteral("%");
    for (int k = 0; k < kMapSize; ++k)
        head += '\t' + valueText(*findParameter("advance_rpm[" + std::to_string(k) + "]"),
                                 c.window[Off::RpmAdv + k], language, locale);
    lines << head;
    // Rows in the Advance Map page's order: 0 % throttle (map row 0) first.
    for (int r = 0; r < kMapSize; ++r) {
        QString line = QString::number(throttleRowPercent(r));
        for (int k = 0; k < kMapSize; ++k) {
            const int o = Off::Advance + 10 * r + k;
            line += '\t' + QString::number(c.window[o]);
            if (c.cellDiffers(r, k))
                line += '*' + QString::number(c.other[o]);
        }
        lines << line;
    }
    return lines.join('\n') + '\n';
}

VerifyReplies verifyReplies(const ParameterImage &window, const DeviceSession &session)
{
    VerifyReplies r{window, ByteMask{}, {}};
    // Block 0 is the unit's identification; Verify compares blocks 1 and 2 only.
    for (int b = 1; b < kBlockCount; ++b) {
        const auto &reply = session.verifyReply(b);
        if (!reply) {
            r.missingBlocks.push_back(b);
            continue;
        }
        std::copy_n(reply->begin() + 1, kFrameDataSize, r.unit.block(b).begin());
        for (int j = 0; j < kBlockSize; ++j)
            r.mask.set(static_cast<std::size_t>(b * kBlockSize + j));
    }
    r.mask &= catalogueBytes();
    r.mask.reset(Off::Reserved101);
    return r;
}

QString verifyRepliesNote(const VerifyReplies &replies, int language)
{
    if (replies.missingBlocks.empty())
        return {};
    QStringList blocks;
    for (int b : replies.missingBlocks)
        blocks << text4(b == 1 ? htext::BlockSettings : htext::BlockMap, language);
    return text4(htext::VerifyNotSent, language).arg(blocks.join(QStringLiteral(", ")));
}

}  // namespace vorn
