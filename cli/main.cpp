// vorn4-cli: the unit and file jobs of the window from the command line.
#include "CliTexts.h"
#include "Commands.h"
#include "Driver.h"
#include "archive/ArchiveTexts.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

using namespace vorn::cli;

namespace {

struct Command {
    const char *name;
    const char *synopsis;
    T help;
    bool port;      // takes --port
    int files;      // positional files; -1: one or more; -2: the command checks them itself
    bool archive;   // takes --archive
    int (*run)(const Invocation &);
};

const Command kCommands[] = {
    {"ports", "ports", T::HelpPorts, false, 0, false, runPorts},
    {"read", "read    --port DEV FILE.ign", T::HelpRead, true, 1, true, runRead},
    {"program", "program --port DEV FILE.ign", T::HelpProgram, true, 1, true, runProgram},
    {"verify", "verify  --port DEV FILE.ign", T::HelpVerify, true, 1, true, runVerify},
    {"show", "show    FILE.ign", T::HelpShow, false, 1, false, runShow},
    {"diff", "diff    A.ign B.ign", T::HelpDiff, false, 2, false, runDiff},
    {"log", "log     --port DEV [--seconds N] [--map MAP.ign] FILE.csv", T::HelpLog, true, 1, false, runLog},
    {"pulls", "pulls   LOG.csv [LOG.csv ...] [--band RPM] [--threshold PERCENT] [--average | --each]", T::HelpPulls,
     false, -1, false, runPulls},
    // One command; each of its forms has a line of help.
    {"archive", "archive find TEXT", T::HelpArchiveFind, false, -2, true, runArchive},
    {"archive", "archive history HASH|TEXT", T::HelpArchiveHistory, false, -2, true, runArchive},
    {"archive", "archive get HASH FILE.ign", T::HelpArchiveGet, false, -2, true, runArchive},
    {"archive", "archive sync", T::HelpArchiveSync, false, -2, true, runArchive},
    {"archive", "archive label HASH [--customer T] [--bike T] [--registration T] [--note T]", T::HelpArchiveLabel,
     false, -2, true, runArchive},
    {"finder", "finder plan BASE.ign OUTDIR [--row PERCENT] [--step DEG] [--variants 3|5] [--ceiling FILE.ign | --ceiling-offset DEG]",
     T::HelpFinderPlan, false, -2, true, runFinder},
    {"finder", "finder run --port DEV BASE.ign OUTDIR [--row PERCENT] [--step DEG] [--variants 3|5] [--pulls N] [--rounds 1|2] [--ceiling ...]",
     T::HelpFinderRun, false, -2, true, runFinder},
    {"finder", "finder LOG.csv [LOG.csv ...] [--row PERCENT] [--step DEG] [--ceiling ...] [--propose BASE.ign OUT.ign]",
     T::HelpFinderAnalyse, false, -2, true, runFinder},
};

const Command *findCommand(const QString &name)
{
    for (const Command &c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

void printHelp(const Command *only)
{
    QString out = text(T::Usage) + QStringLiteral("\n\n");
    for (const Command &c : kCommands) {
        if (only && std::strcmp(only->name, c.name) != 0)
            continue;
        out += QStringLiteral("  vorn4-cli %1\n      %2\n").arg(QLatin1String(c.synopsis), text(c.help));
    }
    if (!only)
        out += QStringLiteral("  vorn4-cli --version | --help | COMMAND --help\n");
    out += QLatin1Char('\n') + text(T::HelpOptions) + QLatin1Char('\n');
    if (!only || only->archive)
        out += text(T::HelpArchiveOptions) + QLatin1Char('\n');
    if (only && std::strcmp(only->name, "log") == 0)
        out += text(T::HelpLogOptions) + QLatin1Char('\n');
    if (only && std::strcmp(only->name, "pulls") == 0)
        out += text(T::HelpPullsOptions) + QLatin1Char('\n');
    if (only && std::strcmp(only->name, "finder") == 0)
        out += text(T::HelpFinderOptions) + QLatin1Char('\n');
    say(out);
}

// The options of archive label, one per label key.
bool isLabelOption(const QString &name)
{
    return name == QLatin1String("--customer") || name == QLatin1String("--bike")
           || name == QLatin1String("--registration") || name == QLatin1String("--note");
}

// The finder's options with a number; --ceiling and --propose take files.
bool isFinderOption(const QString &name)
{
    static const char *const kNames[] = {"--row", "--step", "--variants", "--pulls", "--rounds", "--ceiling-offset"};
    for (const char *n : kNames)
        if (name == QLatin1String(n))
            return true;
    return false;
}

// A finder number within what makes sense: a step the unit's whole degrees can take, the
// variants a fit needs, and no ceiling offset beyond what any engine forgives.
bool finderNumber(Invocation &in, const QString &name, const QString &value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (!ok)
        return false;
    if (name == QLatin1String("--row"))
        in.rowPercent = v;
    else if (name == QLatin1String("--step"))
        in.stepDeg = v;
    else if (name == QLatin1String("--variants"))
        in.variants = v;
    else if (name == QLatin1String("--pulls"))
        in.pullsPerVariant = v;
    else if (name == QLatin1String("--rounds"))
        in.rounds = v;
    else
        in.ceilingOffset = v;
    return (name != QLatin1String("--step") || (v >= 1 && v <= 10))
           && (name != QLatin1String("--variants") || v == 3 || v == 5)
           && (name != QLatin1String("--pulls") || (v >= 1 && v <= 20))
           && (name != QLatin1String("--rounds") || (v >= 1 && v <= 2))
           && (name != QLatin1String("--ceiling-offset") || (v >= 0 && v <= 15));
}

// Takes the language first, so that every later message is in it.
void pickLanguage(int argc, char **argv)
{
    int language = languageFromEnvironment();
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--lang=", 7) == 0)
            language = std::max(0, languageFromOption(QString::fromLocal8Bit(argv[i] + 7)));
        else if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc)
            language = std::max(0, languageFromOption(QString::fromLocal8Bit(argv[i + 1])));
    }
    setLanguage(language);
    vorn::setArchiveLanguage(vorn::cli::language());
}

}  // namespace

int main(int argc, char **argv)
{
    // --version must answer without starting anything.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("vorn4-cli " VORN4_VERSION);
        return ExitOk;
    }
    pickLanguage(argc, argv);

    Invocation in;
    bool help = false;
    bool pullOptions = false;
    bool finderOptions = false;
    const Command *command = nullptr;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QString value;
        const int eq = arg.indexOf(QLatin1Char('='));
        const QString name = arg.startsWith(QStringLiteral("--")) && eq > 0 ? arg.left(eq) : arg;
        auto takeValue = [&]() -> bool {
            if (eq > 0 && arg.startsWith(QStringLiteral("--"))) {
                value = arg.mid(eq + 1);
                return true;
            }
            if (i + 1 >= argc)
                return false;
            value = QString::fromLocal8Bit(argv[++i]);
            return true;
        };
        const bool takesValue = name == QLatin1String("--lang") || name == QLatin1String("--port")
                                || name == QLatin1String("--seconds") || name == QLatin1String("--map")
                                || name == QLatin1String("--band") || name == QLatin1String("--threshold")
                                || name == QLatin1String("--archive") || isLabelOption(name) || isFinderOption(name)
                                || name == QLatin1String("--ceiling") || name == QLatin1String("--propose");
        if (takesValue && !takeValue()) {
            complain(text(T::NeedsValue).arg(name));
            return ExitUsage;
        }
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            help = true;
        } else if (name == QLatin1String("--version")) {
            std::puts("vorn4-cli " VORN4_VERSION);
            return ExitOk;
        } else if (name == QLatin1String("--json")) {
            in.json = true;
        } else if (name == QLatin1String("--average") || name == QLatin1String("--each")) {
            (name == QLatin1String("--average") ? in.average : in.each) = true;
            pullOptions = true;
        } else if (name == QLatin1String("--lang")) {
            if (languageFromOption(value) < 0) {
                complain(text(T::UnknownOption).arg(arg + QLatin1Char(' ') + value));
                return ExitUsage;
            }
        } else if (name == QLatin1String("--port")) {
            in.port = value;
        } else if (name == QLatin1String("--map")) {
            in.map = value;
        } else if (name == QLatin1String("--archive")) {
            in.archive = value;
        } else if (isLabelOption(name)) {
            in.labels.emplace_back(name.mid(2), value);
        } else if (name == QLatin1String("--seconds")) {
            bool ok = false;
            in.seconds = value.toDouble(&ok);
            if (!ok || in.seconds <= 0) {
                complain(text(T::NotANumber).arg(name, value));
                return ExitUsage;
            }
        } else if (name == QLatin1String("--band") || name == QLatin1String("--threshold")) {
            // A band narrower than the speed resolution, or a threshold no throttle reading
            // can reach, would find nothing a tuner could use.
            const bool band = name == QLatin1String("--band");
            bool ok = false;
            const int v = value.toInt(&ok);
            if (!ok || (band ? v < 50 || v > 5000 : v < 1 || v > 100)) {
                complain(text(T::NotANumber).arg(name, value));
                return ExitUsage;
            }
            (band ? in.bandRpm : in.thresholdPercent) = v;
            pullOptions = true;
        } else if (name == QLatin1String("--propose")) {
            // Two values: the base and the file written.
            if (i + 1 >= argc) {
                complain(text(T::NeedsValue).arg(name));
                return ExitUsage;
            }
            in.proposeBase = value;
            in.proposeOut = QString::fromLocal8Bit(argv[++i]);
            finderOptions = true;
        } else if (name == QLatin1String("--ceiling")) {
            in.ceilingFile = value;
            finderOptions = true;
        } else if (isFinderOption(name)) {
            if (!finderNumber(in, name, value)) {
                complain(text(T::NotANumber).arg(name, value));
                return ExitUsage;
            }
            finderOptions = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            complain(text(T::UnknownOption).arg(arg));
            return ExitUsage;
        } else if (!command && in.command.isEmpty()) {
            in.command = arg;
            command = findCommand(arg);
            if (!command) {
                complain(text(T::UnknownCommand).arg(arg));
                return ExitUsage;
            }
        } else {
            in.files << arg;
        }
    }
    if (help) {
        printHelp(command);
        return ExitOk;
    }
    if (!command) {
        printHelp(nullptr);
        return ExitUsage;
    }
    const bool isPulls = std::strcmp(command->name, "pulls") == 0;
    const bool isFinder = std::strcmp(command->name, "finder") == 0;
    const bool filesWrong = command->files == -1   ? in.files.isEmpty()
                            : command->files == -2 ? false
                                                   : in.files.size() != command->files;
    if (filesWrong || (!command->port && !isFinder && !in.port.isEmpty()) || (pullOptions && !isPulls)
        || (finderOptions && !isFinder) || (in.average && in.each)
        || (!in.archive.isEmpty() && !command->archive) || (!in.labels.empty() && !command->archive)
        || (!in.map.isEmpty() && std::strcmp(command->name, "log") != 0)
        || (in.seconds > 0 && std::strcmp(command->name, "log") != 0)) {
        complain(text(T::WrongArguments).arg(in.command));
        return ExitUsage;
    }
    if (command->port && in.port.isEmpty()) {
        complain(text(T::NoPort));
        return ExitUsage;
    }
    QCoreApplication app(argc, argv);
    installInterruptHandlers();
    return command->run(in);
}
