// Soak of vorn4-cli: program, verify and read in turn against a unit on a faulty line, each
// run checked against the unit's memory. Exit 0 must mean the unit holds the file (program,
// verify) or the file holds the unit (read); a failed read must leave the old file whole.
#include "BenchSupport.h"

#include "files/AtomicFile.h"
#include "files/IgnFile.h"
#include "params/ParameterImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Options {
    int seconds = 60;
    QString sim = QStringLiteral(VORN4_SIM_EXE);
    QString cli = QStringLiteral(VORN4_CLI_EXE);
    quint32 seed = 1;
    QStringList faults;
};

// Line faults that make between a tenth and a half of the runs end in an error: most lost
// or spoiled replies are retried away, a silent stretch or a hang-up is not.
const QStringList kDefaultFaults = {"--drop-chance", "0.12", "--corrupt-chance", "0.08", "--silent-burst", "7",
                                    "--burst-every", "6", "--hangup-chance", "0.004", "--split",
                                    "--truncate-chance", "0.03", "--garbage-chance", "0.03", "--flip-chance", "0.03",
                                    "--late-chance", "0.03"};

bool parse(const QStringList &args, Options &o)
{
    o.faults = kDefaultFaults;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--seconds" && hasValue)
            o.seconds = args[++i].toInt();
        else if (a == "--sim" && hasValue)
            o.sim = args[++i];
        else if (a == "--cli" && hasValue)
            o.cli = args[++i];
        else if (a == "--seed" && hasValue)
            o.seed = args[++i].toUInt();
        else if (a == "--faults" && hasValue)
            o.faults = args[++i].split(' ', Qt::SkipEmptyParts);
        else
            return false;
    }
    return o.seconds > 0;
}

struct Run {
    int status = -1;      // exit status; -1 when it did not exit normally
    long maxRssKb = -1;
    QByteArray out, err;
};

// Runs vorn4-cli with its output in files, and takes its peak resident memory from wait4.
Run runCli(const QString &cli, const QStringList &args, const QString &dir)
{
    const QByteArray outPath = QFile::encodeName(dir + "/cli.out"), errPath = QFile::encodeName(dir + "/cli.err");
    QList<QByteArray> words{QFile::encodeName(cli)};
    for (const QString &a : args)
        words << a.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    Run r;
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0)
        return r;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid) {
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.maxRssKb = usage.ru_maxrss;
    }
    QFile o(QString::fromLocal8Bit(outPath)), e(QString::fromLocal8Bit(errPath));
    if (o.open(QIODevice::ReadOnly))
        r.out = o.readAll();
    if (e.open(QIODevice::ReadOnly))
        r.err = e.readAll();
    return r;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The parameters a file speaks for: block 1 and 2 bytes it stores.
std::bitset<vorn::kImageSize> fileBytes()
{
    std::bitset<vorn::kImageSize> mask = vorn::ParameterFileBytes();
    for (int o = 0; o < vorn::kBlockSize; ++o)
        mask.reset(o);
    return mask;
}

// The first file byte in which the unit's memory differs from the image; -1 when none.
int firstDifference(const QByteArray &memory, const vorn::ParameterImage &image)
{
    static const auto mask = fileBytes();
    if (memory.size() != vorn::kImageSize)
        return 0;
    for (int o = 0; o < vorn::kImageSize; ++o)
        if (mask.test(o) && std::uint8_t(memory[o]) != image[o])
            return o;
    return -1;
}

vorn::ParameterImage imageOf(const QByteArray &memory)
{
    vorn::ParameterImage image;
    for (int o = 0; o < vorn::kImageSize && o < memory.size(); ++o)
        image[o] = std::uint8_t(memory[o]);
    return image;
}

struct Tally {
    QMap<QString, int> endings;
    QMap<QString, QPair<int, int>> checks;   // passed, failed
    void check(const QString &name, bool ok, int cycle, const QString &why = {})
    {
        auto &c = checks[name];
        (ok ? c.first : c.second) += 1;
        if (!ok)
            std::fprintf(stderr, "cycle %d: %s FAILED %s\n", cycle, qPrintable(name), qPrintable(why));
    }
    int failures() const
    {
        int n = 0;
        for (const auto &c : checks)
            n += c.second;
        return n;
    }
};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Options opt;
    if (!parse(app.arguments(), opt)) {
        std::fprintf(stderr, "usage: vorn4-cli-soak [--seconds N] [--seed N] [--sim PATH] [--cli PATH] "
                             "[--faults \"--drop-chance 0.1 ...\"]\n");
        return 2;
    }
    QTemporaryDir dir;
    bench::SoakSim sim;
    if (!sim.start(opt.sim, opt.faults + QStringList{"--seed", QString::number(opt.seed)}, dir.path())) {
        std::fprintf(stderr, "cli-soak: cannot start %s\n", qPrintable(opt.sim));
        return 2;
    }
    const QString port = sim.link();
    const QString mapPath = dir.filePath("map.ign");
    const QString outPath = dir.filePath("read.ign");
    QRandomGenerator rng(opt.seed);
    const QByteArray factory = sim.memory();
    if (factory.size() != vorn::kImageSize) {
        std::fprintf(stderr, "cli-soak: no memory from the unit\n");
        return 2;
    }
    vorn::ParameterImage wanted = imageOf(factory);

    Tally tally;
    int cycles = 0, silentEndings = 0, hangupEndings = 0;
    long cliRssFirst = -1, cliRssLast = -1;
    const long ownRssStart = bench::residentKb(), simRssStart = sim.residentKb();
    int silencedBefore = 0, hangupsBefore = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < opt.seconds * 1000LL) {
        const int kind = cycles % 3;   // program, verify, read
        ++cycles;
        if (kind == 0) {
            // A tuner's edit: a few map cells and the limiter, saved as the file to program.
            for (int i = 0; i < 5; ++i)
                wanted.advance(rng.bounded(10), rng.bounded(10)) = static_cast<std::uint8_t>(rng.bounded(61));
            wanted.limiter2() = static_cast<std::uint8_t>(60 + rng.bounded(150));
            std::uint8_t language = 0, com = 1;
            vorn::ClampParameters(wanted, language, com);
            if (!vorn::writeFileAtomically(mapPath, vorn::WriteParameterFile(wanted))) {
                std::fprintf(stderr, "cli-soak: cannot write %s\n", qPrintable(mapPath));
                return 2;
            }
        }
        const QByteArray unitBefore = sim.memory();
        const QByteArray outBefore = readFile(outPath);
        const bool outExisted = QFile::exists(outPath);
        // A hang-up takes the device away for a second; the next run waits for it.
        for (int waited = 0; !QFile::exists(port) && waited < 3000; waited += 20)
            QThread::msleep(20);
        static const char *const kCommands[] = {"program", "verify", "read"};
        const Run run = runCli(opt.cli, {kCommands[kind], "--port", port, kind == 2 ? outPath : mapPath}, dir.path());
        if (cliRssFirst < 0)
            cliRssFirst = run.maxRssKb;
        cliRssLast = run.maxRssKb;
        const QByteArray memory = sim.memory();
        const int silenced = sim.count("silenced"), hangups = sim.count("hangups");
        const bool wasSilent = silenced > silencedBefore, hungUp = hangups > hangupsBefore;
        silencedBefore = silenced;
        hangupsBefore = hangups;

        const QString name = QString::fromLatin1(kCommands[kind]);
        QString ending;
        if (run.status == 0)
            ending = name + " OK";
        else if (run.status == 1 && kind == 1 && run.err.isEmpty())
            ending = name + " differs";   // read whole, and the unit holds something else
        else if (run.status == 1)
            ending = name + " error";
        else
            ending = name + QStringLiteral(" exit %1").arg(run.status);
        tally.endings[ending] += 1;
        const bool error = run.status != 0;
        if (error && wasSilent)
            ++silentEndings;
        if (error && hungUp)
            ++hangupEndings;

        // Exit 0 and 1 are the only answers of a run that could open the port; 2 is a
        // port that was not there (the line was down for a hang-up).
        const bool portMissing = run.status == 2 && run.err.contains(QFile::encodeName(port));
        tally.check("exit status 0 or 1", run.status == 0 || run.status == 1 || portMissing, cycles,
                    QString::fromLocal8Bit(run.err));
        if (kind < 2) {
            // A byte the unit holds now is the one it held or the file's, never a third.
            static const auto mask = fileBytes();
            int third = -1;
            bool unchanged = memory.size() == unitBefore.size();
            for (int o = vorn::kBlockSize; o < vorn::kImageSize && memory.size() == unitBefore.size(); ++o) {
                if (!mask.test(o) || memory[o] == unitBefore[o])
                    continue;
                unchanged = false;
                if (third < 0 && std::uint8_t(memory[o]) != wanted[o])
                    third = o;
            }
            tally.check("every unit byte its own or the file's", third < 0, cycles, QStringLiteral("byte %1").arg(third));
            if (kind == 0 && run.status == 1 && run.err.contains("the unit is unchanged"))
                tally.check("program failed, 'unchanged': the unit is", unchanged, cycles);
            const int diff = firstDifference(memory, wanted);
            if (run.status == 1 && kind == 1 && run.err.isEmpty())
                tally.check("verify lists differences only when the unit differs", diff >= 0, cycles,
                            QString::fromLocal8Bit(run.out));
            if (run.status == 0)
                tally.check("exit 0: the unit holds the file", diff < 0, cycles,
                            QStringLiteral("byte %1 is %2, the file says %3")
                                .arg(diff)
                                .arg(diff >= 0 && diff < memory.size() ? std::uint8_t(memory[diff]) : -1)
                                .arg(diff >= 0 ? wanted[diff] : -1));
        } else {
            const QByteArray outAfter = readFile(outPath);
            if (run.status == 0) {
                vorn::ParameterImage read = imageOf(memory);
                // Every file byte over a different value: what the file says must show.
                for (int o = vorn::kBlockSize; o < vorn::kImageSize; ++o)
                    read[o] = std::uint8_t(read[o] ^ 0x55);
                const bool keyFound = vorn::ReadParameterFile(outAfter, read);
                tally.check("read OK: the file holds the unit", keyFound && firstDifference(memory, read) < 0, cycles);
            } else {
                tally.check("read failed: the old file untouched", outAfter == outBefore && QFile::exists(outPath) == outExisted,
                            cycles);
            }
            // Nothing half-written beside it either.
            const QStringList left = QDir(dir.path()).entryList({"read.ign*"}, QDir::Files | QDir::Hidden);
            tally.check("no temporary file left", left.size() <= 1, cycles, left.join(' '));
        }

        // After an error a clean line tells the truth: verify is 0 exactly when the unit
        // holds the file.
        if (error) {
            if (!sim.setLineFaults(false)) {
                tally.check("the unit answers", false, cycles);
                continue;
            }
            for (int waited = 0; !QFile::exists(port) && waited < 3000; waited += 20)
                QThread::msleep(20);
            const Run clean = runCli(opt.cli, {"verify", "--port", port, mapPath}, dir.path());
            const QByteArray now = sim.memory();
            const bool holds = firstDifference(now, wanted) < 0;
            tally.endings[clean.status == 0 ? "clean verify OK" : "clean verify differs"] += 1;
            tally.check("clean verify tells the truth", clean.status == (holds ? 0 : 1), cycles,
                        QString::fromLocal8Bit(clean.out + clean.err));
            if (!sim.setLineFaults(true))
                tally.check("the unit answers", false, cycles);
        }
    }
    const long ownRssEnd = bench::residentKb(), simRssEnd = sim.residentKb();
    sim.memory();
    const QByteArray simState = sim.stateLine();
    sim.stop();

    int errors = 0;
    for (auto it = tally.endings.cbegin(); it != tally.endings.cend(); ++it)
        if (!it.key().endsWith(" OK") && !it.key().startsWith("clean"))
            errors += it.value();
    std::printf("cli-soak: %d s, %d runs, %d not OK (%.0f %%), %d of them with the unit silent, %d with the line "
                "hung up\n",
                opt.seconds, cycles, errors, cycles ? 100.0 * errors / cycles : 0.0, silentEndings, hangupEndings);
    std::printf("the line: %s\n", simState.constData());
    std::printf("endings:\n");
    for (auto it = tally.endings.cbegin(); it != tally.endings.cend(); ++it)
        std::printf("  %-28s %d\n", qPrintable(it.key()), it.value());
    std::printf("checks (passed / failed):\n");
    for (auto it = tally.checks.cbegin(); it != tally.checks.cend(); ++it)
        std::printf("  %-40s %d / %d\n", qPrintable(it.key()), it.value().first, it.value().second);
    std::printf("resident memory: soak %ld -> %ld kB, simulator %ld -> %ld kB, vorn4-cli peak %ld -> %ld kB\n",
                ownRssStart, ownRssEnd, simRssStart, simRssEnd, cliRssFirst, cliRssLast);
    // Each run is a new process: its peak must not depend on how long the soak has run.
    // Under AddressSanitizer freed memory is held in quarantine, so resident size says nothing.
#if defined(__SANITIZE_ADDRESS__)
    constexpr bool kJudgeMemory = false;
    std::printf("cli-soak: resident memory not judged under AddressSanitizer\n");
#else
    constexpr bool kJudgeMemory = true;
#endif
    constexpr long kAllowedGrowthKb = 1024;
    const bool memoryOk = !kJudgeMemory
                          || (cliRssLast - cliRssFirst <= kAllowedGrowthKb && simRssEnd - simRssStart <= kAllowedGrowthKb);
    const bool pass = tally.failures() == 0 && memoryOk && tally.endings.value("program OK") > 0 && errors > 0;
    std::printf("cli-soak: %s\n", pass ? "PASS" : "FAIL");
    return pass ? 0 : 1;
}
