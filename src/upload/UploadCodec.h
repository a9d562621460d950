#pragma once
// Upload of a file into the receiver's FPGA configuration or into one of its
// external tasks: the requests on the wire, built without any I/O.
//
// Every request is made of groups of five bytes: a lead byte and four data
// bytes. Multi-byte numbers are little-endian.
//
//   Header, Configuration (5 bytes):   09 | S (32 bit)
//   Header, External (20 bytes):       0C | S (32 bit)
//                                      00 | id1 (16 bit) 00 00
//                                      00 | id2 (16 bit) 00 00
//                                      00 | id3 (16 bit) 00 00
//   Name packets (three of one group): lead | 4 bytes of the 12-byte name block
//   Full data packet (320 bytes):      64 groups of lead | 4 file bytes
//   Last data packet (r = 1..255):     ceil(r / 4) groups; the last group's
//                                      unused data bytes are zero
//
// The lead byte of group n (1 for the first group after the header, counted
// on over all packets of one transfer) is 0x80 | (n mod 128): 81, 82, ... FF,
// 80, 81, ... The top bit tells groups from the header's command bytes.
//
// Name block (12 bytes): 00 00, then the file name (without folder) as
// Latin-1, at most ten characters, followed by a terminating zero when it is
// shorter; the rest is zero.
//
// The receiver paces the transfer: after every request it answers zero or
// more working words (55 00 00 00) and then one ready word (00 00 00 00);
// any other status (5A 00 00 00) refuses the transfer.
//
// Sample exchange: an 8-byte file "LMK1.RPD" holding 01 02 .. 08 into the
// configuration (-> request, <- reply payload):
//   -> 09 08 00 00 00                   header, S = 8
//   <- 55 00 00 00                      working (the receiver erases)
//   <- 00 00 00 00                      ready
//   -> 81 00 00 4C 4D                   name block 0..3:  00 00 'L' 'M'
//   <- 00 00 00 00
//   -> 82 4B 31 2E 52                   name block 4..7:  'K' '1' '.' 'R'
//   <- 00 00 00 00
//   -> 83 50 44 00 00                   name block 8..11: 'P' 'D' 00 00
//   <- 00 00 00 00
//   -> 84 01 02 03 04 85 05 06 07 08    last (and only) data packet
//   <- 00 00 00 00                      the transfer is complete

#include <QByteArray>
#include <QString>
#include <optional>

namespace lmk::upload {

constexpr int kGroupBytes = 5;
constexpr int kFullPacketFileBytes = 256;
constexpr int kFullPacketGroups = kFullPacketFileBytes / 4;
constexpr int kFullPacketBytes = kFullPacketGroups * kGroupBytes; // 320
constexpr int kNameBlockBytes = 12;
constexpr int kNamePackets = 3;
constexpr int kNameCharsSent = 10;
constexpr quint8 kConfigurationCommand = 0x09;
constexpr quint8 kExternalCommand = 0x0C;
constexpr int kConfigurationHeaderBytes = 5;
constexpr int kExternalHeaderBytes = 20;
// The header carries the size in 32 bits.
constexpr qint64 kMaxFileSize = 0xFFFFFFFFLL;

enum class Target { Configuration, External };

struct TaskIds {
    quint16 id1 = 0;
    quint16 id2 = 0;
    quint16 id3 = 0;
    bool operator==(const TaskIds &) const = default;
};

// The lead byte of group n.
constexpr quint8 leadByte(qint64 n) {
    return quint8(0x80 | (n % 128));
}

QByteArray nameBlock(const QString &fileName);
QByteArray configurationHeader(quint32 size);
QByteArray externalHeader(quint32 size, const TaskIds &ids);

// The three ids of a task entry ("01A2  0003  00F0"): the entry is split at
// its two-space separators, so an id of more than four digits cannot shift
// the others, and each field is read as hexadecimal.
struct TaskEntryIds {
    std::optional<TaskIds> ids; // set when the entry holds three ids that fit 16 bits
    QString tooLarge;           // else: the first id above FFFF, as written
};
TaskEntryIds parseTaskEntry(const QString &entry);
// The ids alone: nothing when the entry is not three hexadecimal ids of at
// most 16 bits each.
std::optional<TaskIds> taskIdsFromEntry(const QString &entry);

// Whether the file name (without folder) belongs to the target: it begins
// with "LMK" for the configuration; for a task its characters 5 to 8 equal
// the first four of the selected entry. Case-sensitive.
bool nameMatchesTarget(Target target, const QString &fileName, const QString &taskEntry);

// Cuts one file into the packets that follow the header, in order. The file
// and the name block are taken whole at construction.
class UploadPacketizer {
  public:
    UploadPacketizer(QByteArray file, QByteArray nameBlock);

    qint64 size() const { return m_file.size(); }
    // File bytes handed out so far; a last short packet counts whole groups,
    // so at the end this is the size rounded up to a multiple of 4.
    qint64 sent() const { return m_sent; }
    // The group counter n of the next group.
    qint64 groupCounter() const { return m_n; }
    // Whether the next packet is a name packet.
    bool nextIsName() const { return m_n <= kNamePackets; }
    // True while packets remain (every file byte handed out ends it).
    bool hasNext() const { return m_sent < m_file.size(); }
    // Builds the next packet. The reference stays valid until the next call.
    const QByteArray &next();

  private:
    QByteArray m_file;
    QByteArray m_name;
    QByteArray m_packet;
    qint64 m_sent = 0;
    qint64 m_n = 1;
};

} // namespace lmk::upload
