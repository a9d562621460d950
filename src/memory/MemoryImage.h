#pragma once
// MemoryImage: the window's copy of the 63 slot records, a growable byte
// buffer with one read/write position. Slot n (1-63) lives at (n-1)*256;
// a full image is 16128 bytes. A .Mem file is the image's bytes as they
// are, with no header or checksum.

#include <QByteArray>
#include <QString>

namespace lmk {

class MemoryImage {
  public:
    // Largest .Mem file that is loaded (a full image is 16128 bytes).
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    qint64 size() const { return m_data.size(); }
    qint64 position() const { return m_pos; }
    const QByteArray &data() const { return m_data; }

    // Bytes gained by growing are zero; a position beyond the new end moves
    // to the end.
    void setSize(qint64 size);
    void setPosition(qint64 pos) { m_pos = qMax<qint64>(0, pos); }
    // Reads up to n bytes at the position; returns the count read.
    int read(char *out, int n);
    QByteArray read(int n);
    // Writes at the position, growing the buffer (gap bytes zero).
    void write(const char *bytes, int n);
    void write(const QByteArray &bytes) { write(bytes.constData(), int(bytes.size())); }

    // Slot s (1-63) whole, or nothing when the image does not hold all of
    // its 256 bytes. Leaves the position alone.
    QByteArray slotRecord(int s) const;
    bool holdsSlot(int s) const;

    // Content and size become the file's; the position is left to the
    // caller. What is not a regular file (a FIFO, a device) is refused at
    // once. On failure the image is unchanged and `error` says why.
    bool loadFromFile(const QString &path, QString *error = nullptr);
    // Writes the image whole, atomically: an existing file is replaced only
    // when the new content is complete, and never when it is not a regular
    // file (see files/UserFiles.h).
    bool saveToFile(const QString &path, QString *error = nullptr) const;

    void clear() {
        m_data.clear();
        m_pos = 0;
    }

  private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

} // namespace lmk
