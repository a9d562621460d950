#pragma once
// The sub-commands of lmkctl, one function each.

#include "ctl/CtlContext.h"

class QCommandLineParser;

namespace lmk::ctl {

// Parses a command's options (args[0] is the command's name); prints its
// help or the usage error. Returns -1 to go on, or the exit code to return.
int parseCommand(Context &ctx, QCommandLineParser &p, const QStringList &args,
                 const QString &description);

int runVersion(Context &ctx, const QStringList &args);
int runMemory(Context &ctx, const QStringList &args);
int runSync(Context &ctx, const QStringList &args);
int runTasks(Context &ctx, const QStringList &args);
int runUpload(Context &ctx, const QStringList &args);
int runScan(Context &ctx, const QStringList &args);
int runTerminal(Context &ctx, const QStringList &args);
int runAp(Context &ctx, const QStringList &args);

} // namespace lmk::ctl
