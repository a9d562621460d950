#pragma once
// Reading and writing the user's files whole: the .RPD upload files, .Mem
// images, CSV texts and pictures.
//
// Readers refuse at once what is not a regular file (a FIFO would block the
// reader until some other program writes into it; a device never ends), and
// a file larger than the caller can use. Writers never replace an existing
// file that is not a regular one (a FIFO, /dev/null, a directory) and write
// through a temporary file beside the target that replaces it only when all
// bytes are on the disk: a full disk, a quota or a file size limit leaves
// the old file byte-identical and is reported with the system's reason.
//
// The functions return the reason alone ("No space left on device", "it is
// a FIFO (named pipe), not a regular file"); callers put it behind their own
// "Cannot open file "..."." or "Cannot create file "..."." text.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lmk {

struct FileContents {
    QByteArray bytes;
    QString error; // empty when the file was read whole
    bool ok() const { return error.isEmpty(); }
};

// What kind of file `path` names, when it exists and is not a regular file
// ("a FIFO (named pipe)", "a character device", "a directory", ...), after
// following symbolic links; empty for a regular file or a missing one.
QString specialFileKind(const QString &path);

// Reads the regular file `path` whole; `maxSize` bytes at most (a larger
// file is refused unread, with its size and the limit in the reason).
FileContents readRegularFile(const QString &path, qint64 maxSize);

// Why `path` cannot be used as an output, or "": an existing file that is
// not a regular one is never replaced.
QString outputRefusal(const QString &path);

enum class InPlaceFallback {
    No,  // the temporary file is required: no temporary, no save
    Yes, // in a folder where no temporary file can be created, an existing
         // file that may be written is written in place instead (after a
         // check that the disk has room for it); a failure on the way
         // then leaves it cut short, not as it was
};

// Writes `bytes` as the whole content of `path` (see above). Returns "" or
// the reason.
QString saveWholeFile(const QString &path, QByteArrayView bytes,
                      InPlaceFallback fallback = InPlaceFallback::No);

// Text for a path that names no file: when the name holds characters that
// could not be decoded (the file system's name is not UTF-8), says so, as
// such a name cannot be opened by this program.
QString missingFileReason(const QString &path);
// Whether the name holds such characters.
bool nameNotDecodable(const QString &path);

} // namespace lmk
