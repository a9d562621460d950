#pragma once
// lmkctl memory import and export of frequency lists (gqrx bookmarks, CHIRP
// CSV, the EiBi schedule); the slot CSV stays with MemoryCommand.cpp.

#include "ctl/CtlContext.h"

#include <optional>

class QCommandLineParser;

namespace lmk::ctl {

// memory import LIST: the exit code, or nothing when LIST is the slot CSV
// (as --format own says or its content shows) and is a file, which the CSV
// import then reads. `basePath` empty: an all-zero base (--zero-base).
std::optional<int> importFrequencyList(Context &ctx, const QCommandLineParser &p,
                                       const QString &listPath, const QString &basePath,
                                       const QString &out);

// memory export IMAGE --format gqrx|chirp: the exit code, or nothing for
// --format own (or none), the slot CSV.
std::optional<int> exportFrequencyList(Context &ctx, const QCommandLineParser &p,
                                       const QString &imagePath, const QString &out);

} // namespace lmk::ctl
