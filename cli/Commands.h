// The commands of vorn4-cli; each returns the exit status.
#pragma once

#include <QString>
#include <QStringList>

namespace vorn::cli {

enum Exit { ExitOk = 0, ExitDiffer = 1, ExitUsage = 2 };

struct Invocation {
    QString command;
    QStringList files;
    QString port;
    QString map;
    double seconds = 0;
    bool json = false;
};

int runRead(const Invocation &in);
int runProgram(const Invocation &in);
int runVerify(const Invocation &in);
int runLog(const Invocation &in);

// Prints one line to stderr.
void complain(const QString &line);
// Prints a text or a JSON document to stdout.
void say(const QString &text);

}  // namespace vorn::cli
