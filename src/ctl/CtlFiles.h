#pragma once
// lmkctl's file arguments: "-" stands for standard input or standard output,
// any other name for a file, read and written as files/UserFiles.h says.

#include "files/UserFiles.h"

#include <QByteArray>
#include <QString>

namespace lmk::ctl {

// "-": standard input or output.
bool isStandardStream(const QString &path);

// The name messages give a path: "standard input"/"standard output" for "-".
QString shownInputName(const QString &path);

// Reads `path` (or standard input) whole, at most `maxSize` bytes. The error
// is the whole message, naming the file.
FileContents readInput(const QString &path, qint64 maxSize);

// Writes `bytes` whole to `path` (or standard output); "" or the whole
// message, naming the file.
QString writeOutput(const QString &path, const QByteArray &bytes);

} // namespace lmk::ctl
