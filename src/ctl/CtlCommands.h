#pragma once
// The sub-commands of lmkctl, one function each.

#include "ctl/CtlContext.h"

class QCommandLineParser;

namespace lmk::ctl {

int runVersion(Context &ctx, const QCommandLineParser &p);
int runMemory(Context &ctx, const QCommandLineParser &p);
int runSync(Context &ctx, const QCommandLineParser &p);
int runTasks(Context &ctx, const QCommandLineParser &p);
int runUpload(Context &ctx, const QCommandLineParser &p);
int runScan(Context &ctx, const QCommandLineParser &p);
int runTerminal(Context &ctx, const QCommandLineParser &p);
int runAp(Context &ctx, const QCommandLineParser &p);

} // namespace lmk::ctl
