// The commands of vorn4-cli; each returns the exit status.
#pragma once

#include "params/ParameterCatalogue.h"

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vorn::cli {

enum Exit { ExitOk = 0, ExitDiffer = 1, ExitUsage = 2 };

struct Invocation {
    QString command;
    QStringList files;
    QString port;
    QString map;
    double seconds = 0;
    QString archive;   // --archive URL|FILE
    // archive label: each --customer, --bike, --registration, --note as its key word and value.
    std::vector<std::pair<QString, QString>> labels;
    bool json = false;
    int bandRpm = 1000;           // pulls
    int thresholdPercent = 90;    // pulls
    bool average = false;         // pulls: the pulls of each tune averaged
    bool each = false;            // pulls: every pull on its own, however many
    // finder
    int rowPercent = 100;
    int stepDeg = 5;
    int variants = 3;
    int pullsPerVariant = 3;
    int rounds = 1;
    QString ceilingFile;
    int ceilingOffset = -1;   // -1: not given (the default offset)
    QString proposeBase, proposeOut;
};

int runRead(const Invocation &in);
int runProgram(const Invocation &in);
int runVerify(const Invocation &in);
int runLog(const Invocation &in);
int runShow(const Invocation &in);
int runDiff(const Invocation &in);
int runPorts(const Invocation &in);
int runPulls(const Invocation &in);
int runArchive(const Invocation &in);
int runFinder(const Invocation &in);

// Reads a parameter file that the window's reader accepts (it has the key line); false
// with a one-line reason otherwise.
bool loadParameterFile(const QString &path, QByteArray &content, QString *error);
// The catalogued bytes this file sets: the bytes its format stores and that its records
// actually give (a record cut short leaves the rest of its bytes to the image).
ByteMask bytesHeldBy(const QByteArray &content);
// The differences as text lines and as JSON, named in `context`.
QStringList differenceLines(const std::vector<ParameterDifference> &d, const ParameterImage &context);
QJsonArray differenceJson(const std::vector<ParameterDifference> &d, const ParameterImage &context,
                          const char *before, const char *after);

// Prints one line to stderr.
void complain(const QString &line);
// Prints a text or a JSON document to stdout.
void say(const QString &text);
// Columns padded to their widest cell; `align` holds 'l' or 'r' per column (left when
// missing). The last column is not padded, so no line ends in blanks.
QString textTable(const QList<QStringList> &rows, const QString &align);

}  // namespace vorn::cli
