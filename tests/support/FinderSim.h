// The advance finder end to end against the simulated motorcycle: vorn4-sim rides pulls,
// vorn4-cli finder run programs the variants between them, and its answer is held against
// the model's own best advance per cell (vorn4-sim --truth). For the end-to-end test and
// the bench, which runs every start.
#pragma once

#include "files/IgnFile.h"
#include "params/ParameterImage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace findersim {

constexpr int kRow = 9;   // the full-throttle row
// The tuner's ceiling over the base map. The model knows no knock, and a start 6 degrees
// retarded lies up to 14 degrees below the model's best: the ceiling must let the finder
// get there, as a tuner who knows the engine's limit sets it.
constexpr int kCeilingOffset = 15;

struct Figures {
    bool ran = false;
    QString error;        // why not, or the command's stderr
    int cells = 0;        // cells from the 5,000 rpm point up that were judged
    int decided = 0;
    double worst = 0;     // |best found - true best|, degrees
    double median = 0;
    double proposalWorst = 0;   // |proposal - true best|, degrees: what the tuner is handed
    bool aboveCeiling = false;
    QString detail;       // one line per cell
};

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The engine's best advance per column of the full-throttle row: the time-weighted mean
// over every pull's "cell" lines of the truth file.
inline std::map<int, double> trueBest(const QByteArray &truth)
{
    std::map<int, double> sum, seconds;
    for (const QByteArray &line : truth.split('\n')) {
        const QList<QByteArray> f = line.split(',');
        if (f.size() < 9 || f[0] != "cell" || f[2].toInt() != kRow)
            continue;
        const double s = f[6].toDouble();
        sum[f[3].toInt()] += s * f[8].toDouble();
        seconds[f[3].toInt()] += s;
    }
    std::map<int, double> out;
    for (const auto &[column, total] : sum)
        if (seconds[column] > 0)
            out[column] = total / seconds[column];
    return out;
}

// One cell of the finder's answer.
struct Answer {
    int column = 0, rpm = 0;
    bool decided = false;
    QString why;
    double best = 0;
    bool hasProposal = false;
    int proposed = 0;
};

// The answer held against the model's best (the truth file's text): the figures of `out`.
inline void judge(const std::vector<Answer> &answers, const vorn::ParameterImage &base, const QByteArray &truthText,
                  Figures &out)
{
    const std::map<int, double> truth = trueBest(truthText);
    std::vector<double> errors;
    for (const Answer &cell : answers) {
        if (cell.hasProposal && cell.proposed > base[vorn::Off::Advance + 10 * kRow + cell.column] + kCeilingOffset)
            out.aboveCeiling = true;
        if (cell.rpm < 5000 || !truth.count(cell.column))
            continue;
        ++out.cells;
        if (!cell.decided) {
            out.detail += QString("%1 rpm: undecided (%2)\n").arg(cell.rpm).arg(cell.why);
            continue;
        }
        ++out.decided;
        const double error = cell.best - truth.at(cell.column);
        errors.push_back(std::abs(error));
        out.proposalWorst = std::max(out.proposalWorst, std::abs(cell.proposed - truth.at(cell.column)));
        out.detail += QString("%1 rpm: best %2 true %3 error %4 proposed %5\n")
                          .arg(cell.rpm)
                          .arg(cell.best, 0, 'f', 2)
                          .arg(truth.at(cell.column), 0, 'f', 2)
                          .arg(error, 0, 'f', 2)
                          .arg(cell.proposed);
    }
    std::sort(errors.begin(), errors.end());
    if (!errors.empty()) {
        out.worst = errors.back();
        const std::size_t n = errors.size();
        out.median = n % 2 ? errors[n / 2] : (errors[n / 2 - 1] + errors[n / 2]) / 2;
    }
}

// Rides `vorn4-cli finder run --rounds 2` from the unit's stock row moved by `offset`
// degrees, with the engine losing `overLoss` times as much over-advanced as retarded.
inline Figures runFromStock(const QString &dir, int offset, double overLoss, int seed, const char *sim, const char *cli)
{
    Figures out;
    const QString truthPath = dir + "/truth.csv";
    QProcess unit;
    unit.start(sim, {"--ride", "pulls", "--seed", QString::number(seed), "--noise", "10", "--truth", truthPath,
                     "--over-advance-loss", QString::number(overLoss), "--linger", "30"});
    if (!unit.waitForStarted(60000)) {
        out.error = "vorn4-sim did not start";
        return out;
    }
    while (!unit.canReadLine())
        if (!unit.waitForReadyRead(60000)) {
            out.error = "vorn4-sim said nothing";
            return out;
        }
    const QString port = QString::fromLocal8Bit(unit.readLine()).trimmed();
    auto cliRun = [&](const QStringList &args, int timeoutMs, QByteArray *stdoutText) {
        QProcess p;
        p.setWorkingDirectory(dir);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VORN4_CONFIG_DIR", dir + "/config");
        env.insert("LANG", "C.UTF-8");
        p.setProcessEnvironment(env);
        p.start(cli, args);
        if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit) {
            p.kill();
            p.waitForFinished();
            out.error = "vorn4-cli " + args.join(' ') + " did not end";
            return -1;
        }
        if (stdoutText)
            *stdoutText = p.readAllStandardOutput();
        out.error = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    };
    if (cliRun({"read", "--port", port, "stock.ign"}, 60000, nullptr) != 0)
        return out;
    vorn::ParameterImage base;
    vorn::ReadParameterFile(readFile(dir + "/stock.ign"), base);
    for (int c = 0; c < vorn::kMapSize; ++c)
        base.advance(kRow, c) = static_cast<std::uint8_t>(std::clamp(base.advance(kRow, c) + offset, 0, 60));
    {
        QFile f(dir + "/base.ign");
        if (!f.open(QIODevice::WriteOnly))
            return out;
        f.write(vorn::WriteParameterFile(base));
    }
    QByteArray json;
    const int status = cliRun({"finder", "run", "--port", port, "base.ign", "out", "--rounds", "2", "--ceiling-offset",
                               QString::number(kCeilingOffset), "--json"},
                              30 * 60 * 1000, &json);
    unit.terminate();
    unit.waitForFinished(60000);
    if (status != 0)
        return out;
    out.ran = true;
    std::vector<Answer> answers;
    for (const QJsonValue &v : QJsonDocument::fromJson(json).object()["cells"].toArray()) {
        const QJsonObject cell = v.toObject();
        answers.push_back({cell["column"].toInt(), cell["rpm"].toInt(), cell["decided"].toBool(), cell["why"].toString(),
                           cell["best_advance"].toDouble(), cell["proposed"].isDouble(), cell["proposed"].toInt()});
    }
    judge(answers, base, readFile(truthPath), out);
    return out;
}

}  // namespace findersim
