// finder: plan the variants of a map row, or read the best advance per cell from the pulls
// of logs and propose the row (finder run lives in FinderRun.cpp).
#include "Finder.h"

#include "CliTexts.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "files/AtomicFile.h"
#include "files/IgnFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <map>

namespace vorn::cli {

namespace {

using namespace finder;

double rounded(double v, int digits)
{
    const double f = std::pow(10.0, digits);
    return std::round(v * f) / f;
}

QString why(Undecided u)
{
    switch (u) {
    case Undecided::None: return QString();
    case Undecided::NotInLogs: return text(T::FinderNotInLogs);
    case Undecided::FewAdvances: return text(T::FinderFewAdvances);
    case Undecided::FewPulls: return text(T::FinderFewPulls);
    case Undecided::NoPeak: return text(T::FinderNoPeak);
    case Undecided::PullsBeganThere: return text(T::FinderPullsBeganThere);
    }
    return QString();
}

const char *whyCode(Undecided u)
{
    switch (u) {
    case Undecided::None: return "decided";
    case Undecided::NotInLogs: return "not_in_logs";
    case Undecided::FewAdvances: return "few_advances";
    case Undecided::FewPulls: return "few_pulls";
    case Undecided::NoPeak: return "no_peak";
    case Undecided::PullsBeganThere: return "pulls_began_there";
    }
    return "";
}

QJsonObject cellJson(const CellResult &c)
{
    QJsonArray tried;
    for (const Tried &t : c.tried)
        tried.append(QJsonObject{{QStringLiteral("advance"), t.advance},
                                 {QStringLiteral("torque_rel"), rounded(t.torqueRel, 4)},
                                 {QStringLiteral("pulls"), t.pulls}});
    QJsonObject o{{QStringLiteral("column"), c.column}, {QStringLiteral("rpm"), c.rpm},
                  {QStringLiteral("tried"), tried},     {QStringLiteral("ceiling"), c.ceiling},
                  {QStringLiteral("decided"), c.decided()}, {QStringLiteral("why"), QLatin1String(whyCode(c.why))}};
    if (c.decided()) {
        o.insert(QStringLiteral("best_advance"), rounded(c.bestAdvance, 2));
        o.insert(QStringLiteral("interval"), QJsonArray{rounded(c.intervalLow, 2), rounded(c.intervalHigh, 2)});
        o.insert(QStringLiteral("bracketed"), c.bracketed);
        o.insert(QStringLiteral("proposed"), c.proposed);
    } else {
        for (const char *key : {"best_advance", "interval", "bracketed", "proposed"})
            o.insert(QLatin1String(key), QJsonValue());
    }
    return o;
}

void cellLine(const CellResult &c, QStringList &row)
{
    QStringList tried;
    for (const Tried &t : c.tried)
        tried << QStringLiteral("%1° %2 (%3)").arg(t.advance).arg(t.torqueRel * 100, 0, 'f', 1).arg(t.pulls);
    row << QString::number(c.column) << QString::number(c.rpm) << tried.join(QStringLiteral(", "));
    if (!c.decided()) {
        row << QStringLiteral("–") << QStringLiteral("–") << QStringLiteral("–") << why(c.why);
        return;
    }
    QString proposed = QStringLiteral("%1°").arg(c.proposed);
    if (c.heldAtCeiling)
        proposed += QStringLiteral(" (") + text(T::FinderAtCeiling) + QLatin1Char(')');
    else if (c.heldToStep)
        proposed += QStringLiteral(" (") + text(T::FinderStepBeyond) + QLatin1Char(')');
    row << QStringLiteral("%1°").arg(c.bestAdvance, 0, 'f', 1)
        << QStringLiteral("%1–%2°").arg(c.intervalLow, 0, 'f', 1).arg(c.intervalHigh, 0, 'f', 1)
        << text(c.bracketed ? T::FinderYes : T::FinderNo) << proposed;
}

bool writeImage(const QString &path, const ParameterImage &image)
{
    AtomicFileWriter writer(path, AtomicFileWriter::Folder::MustExist);
    if (!writer.open() || !writer.commit(WriteParameterFile(image))) {
        complain(text(T::CannotWrite).arg(path));
        return false;
    }
    return true;
}

int runPlan(const Invocation &in, const FinderSetup &setup)
{
    ParameterImage base;
    if (!readImage(in.files.value(1), base))
        return ExitUsage;
    const QString folder = in.files.value(2);
    if (!QDir().mkpath(folder)) {
        complain(text(T::CannotWrite).arg(folder));
        return ExitUsage;
    }
    PlanSettings settings;
    settings.row = setup.row;
    settings.stepDeg = in.stepDeg;
    settings.variants = in.variants;
    settings.ceiling = setup.ceiling;
    const std::vector<Variant> variants = plan(base, settings);
    QJsonArray json;
    QString lines;
    for (std::size_t k = 0; k < variants.size(); ++k) {
        const Variant &v = variants[k];
        const QString path = QDir(folder).filePath(QStringLiteral("variant-%1.ign").arg(k + 1));
        if (!writeImage(path, v.image))
            return ExitUsage;
        QJsonArray row, capped;
        for (int c = 0; c < kMapSize; ++c) {
            row.append(v.rowAdvance[static_cast<std::size_t>(c)]);
            if (v.atCeiling[static_cast<std::size_t>(c)])
                capped.append(c);
        }
        const int offset = v.offsetSteps * settings.stepDeg;
        json.append(QJsonObject{{QStringLiteral("file"), path}, {QStringLiteral("offset_deg"), offset},
                                {QStringLiteral("row"), row}, {QStringLiteral("at_ceiling"), capped}});
        lines += text(T::FinderVariantLine).arg(path, (offset > 0 ? QStringLiteral("+") : QString()) + QString::number(offset))
                 + QLatin1Char('\n');
    }
    if (in.json)
        say(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("row"), throttlePercentOfRow(setup.row)},
                                                        {QStringLiteral("variants"), json}})
                                  .toJson()));
    else
        say(text(T::FinderPlanned).arg(variants.size()).arg(throttlePercentOfRow(setup.row)).arg(folder)
            + QLatin1Char('\n') + lines);
    return ExitOk;
}

int runAnalyse(const Invocation &in, const FinderSetup &setup)
{
    std::vector<RecordedLog> logs;
    for (const QString &path : in.files) {
        LogContents log = readLog(path);
        if (!log.ok) {
            complain(text(T::CannotRead).arg(path, log.error));
            return ExitUsage;
        }
        logs.push_back({std::move(log.rows)});
    }
    // The base: the one the proposal changes, else the tune kept beside the first log.
    ParameterImage base;
    if (!in.proposeBase.isEmpty()) {
        if (!readImage(in.proposeBase, base))
            return ExitUsage;
    } else {
        const std::vector<LogTune> tunes = tunesBesideLog(in.files.front());
        if (tunes.empty()) {
            complain(text(T::FinderNoBase));
            return ExitUsage;
        }
        base = tunes.front().image;
    }
    AnalysisSettings settings;
    settings.row = setup.row;
    settings.ceiling = setup.ceiling;
    settings.stepDeg = in.stepDeg;
    return reportAnalysis(in, analyse(logs, base, settings), base, in.proposeOut);
}

}  // namespace

bool readImage(const QString &path, ParameterImage &image, QByteArray *content)
{
    QByteArray bytes;
    QString error;
    if (!loadParameterFile(path, bytes, &error)) {
        complain(error);
        return false;
    }
    image = ParameterImage{};
    ReadParameterFile(bytes, image);
    if (content)
        *content = bytes;
    return true;
}

bool finderSetup(const Invocation &in, FinderSetup &setup)
{
    const std::optional<int> row = rowOfThrottlePercent(in.rowPercent);
    if (!row) {
        complain(text(T::FinderBadRow).arg(in.rowPercent));
        return false;
    }
    setup.row = *row;
    if (!in.ceilingFile.isEmpty() && in.ceilingOffset >= 0) {
        complain(text(T::WrongArguments).arg(in.command));
        return false;
    }
    if (!in.ceilingFile.isEmpty()) {
        ParameterImage map;
        if (!readImage(in.ceilingFile, map))
            return false;
        setup.ceiling.map = map;
    } else if (in.ceilingOffset >= 0) {
        setup.ceiling.offsetDeg = in.ceilingOffset;
    }
    return true;
}

int reportAnalysis(const Invocation &in, const Analysis &analysis, const ParameterImage &base,
                   const QString &proposalPath)
{
    if (!proposalPath.isEmpty() && analysis.decidedCount() > 0 && !writeImage(proposalPath, propose(base, analysis)))
        return ExitUsage;
    // Why nothing was decided: what most cells lacked.
    std::map<Undecided, int> reasons;
    for (const CellResult &c : analysis.cells)
        if (!c.decided() && c.why != Undecided::NotInLogs)
            ++reasons[c.why];
    Undecided mostly = Undecided::NotInLogs;
    int most = 0;
    for (const auto &[reason, count] : reasons)
        if (count > most) {
            mostly = reason;
            most = count;
        }
    if (in.json) {
        QJsonArray cells;
        for (const CellResult &c : analysis.cells)
            cells.append(cellJson(c));
        QJsonObject doc{{QStringLiteral("row"), throttlePercentOfRow(analysis.row)},
                        {QStringLiteral("pulls"), analysis.pulls},
                        {QStringLiteral("decided"), analysis.decidedCount()},
                        {QStringLiteral("cells"), cells}};
        if (!proposalPath.isEmpty() && analysis.decidedCount() > 0)
            doc.insert(QStringLiteral("proposal"), proposalPath);
        say(QString::fromUtf8(QJsonDocument(doc).toJson()));
    } else {
        QList<QStringList> rows{text(T::FinderColumns).split(QLatin1Char('|'))};
        for (const CellResult &c : analysis.cells) {
            if (c.why == Undecided::NotInLogs)
                continue;
            QStringList row;
            cellLine(c, row);
            rows << row;
        }
        QString out = text(T::FinderHeading).arg(throttlePercentOfRow(analysis.row)).arg(analysis.pulls) + QLatin1Char('\n')
                      + textTable(rows, {});
        if (!proposalPath.isEmpty() && analysis.decidedCount() > 0)
            out += text(T::Written).arg(proposalPath) + QLatin1Char('\n');
        say(out);
    }
    if (analysis.decidedCount() == 0) {
        complain(text(T::FinderNoneDecided).arg(why(mostly)));
        return ExitDiffer;
    }
    return ExitOk;
}

int runFinder(const Invocation &in)
{
    FinderSetup setup;
    if (in.files.isEmpty() || !finderSetup(in, setup))
        return ExitUsage;
    const QString form = in.files.front();
    const bool planning = form == QLatin1String("plan"), running = form == QLatin1String("run");
    const bool wrong = ((planning || running) && (in.files.size() != 3 || !in.proposeBase.isEmpty()))
                       || (!running && !in.port.isEmpty()) || (planning && in.rounds != 1);
    if (wrong) {
        complain(text(T::WrongArguments).arg(in.command));
        return ExitUsage;
    }
    if (planning)
        return runPlan(in, setup);
    if (running) {
        if (in.port.isEmpty()) {
            complain(text(T::NoPort));
            return ExitUsage;
        }
        return runFinderRun(in, setup);
    }
    return runAnalyse(in, setup);
}

}  // namespace vorn::cli
