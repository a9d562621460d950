// Memory slots: 63 records of 256 bytes.
//
//   10                      -> 10 00 00 00 | s (32-bit) | record of slot s,
//                              s from a read cursor that starts at 1 and
//                              wraps after 63 (the request names no slot);
//                              264 bytes, or with --slot-reply-length 256
//                              the first 256 of them (the record's last 8
//                              bytes left out)
//   11 s 00 00 | 256 bytes  -> 00 00 00 00, slot s := the 256 bytes
//   11 s | 258 x 00         -> the same with a zero record (clear)
//
// Options: --slot-refuse S answers a write or clear of slot S with
// 55 00 00 00 and keeps the slot; --slot-silent S never answers a read that
// would return slot S, nor a write or clear of it; --slot-short S answers a
// read of slot S with a reply 12 bytes shorter than the others (a length
// the program cannot take). --slot-fault S:ACTION (repeatable) changes
// the reply to a read of slot S: "twice" sends slot S again for the next
// read too, "status" answers 00 00 00 00 instead of the record, "number=N"
// names slot N in the reply (any 32-bit number, hex with 0x). A read
// cursor shared by every connection: two clients reading at the same time
// each get only some of the slots. The slots are kept in
// <state-dir>/slots.bin (16128 bytes, slot s at (s-1)*256) after every
// change, so tests can read them.
#include "SimCore.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTimer>
#include <QtEndian>

namespace {

constexpr int kSlotSize = 256;
constexpr int kSlots = 63;

struct Station {
    const char *name;
    qint32 tenthsHz; // ten times the frequency shown
    quint16 bandwidth;
    qint16 shift;
};

// Stations a listener would keep; the other fields are spread over every
// table value below.
const Station kStations[] = {
    {"DCF77", 775000, 300, 0},
    {"MSF 60", 600000, 300, 0},
    {"BBC R4 LW", 1980000, 9000, 0},
    {"RTL 234", 2340000, 9000, 0},
    {"Deutschlandfunk", 1530000, 9000, -250},
    {"NDB Kiel", 3470000, 2400, 150},
    {"Sender M\xfchlacker", 5760000, 9000, 0},
    {"Bodensee Radio", 6660000, 6000, -500},
    {"NAVTEX", 5180000, 500, 0},
    {"Radio Romania Int", 61500000, 9000, 0},
    {"WWV 5 MHz", 50000000, 6000, 0},
    {"CHU 7850", 78500000, 3000, 0},
    {"80m SSB Runde", 37000000, 2700, -1500},
    {"40m CW", 70300000, 500, 700},
    {"DWD RTTY", 101005000, 1000, 425},
    {"Volmet Shannon", 55050000, 2700, 1500},
    {"20m FT8", 140740000, 3000, 1500},
    {"Marine Ch 16", 15600000, 12000, 0},
    {"CB Kanal 9", 270650000, 10000, -1000},
    {"6m Bake", 500500000, 500, 800},
    {"Weltzeit", 100000000, 6000, 0},
};

QByteArray stationRecord(int s) {
    QByteArray r(kSlotSize, Qt::Uninitialized);
    // Opaque bytes: a pattern that differs per slot, so a shifted or
    // rotated record is seen at once.
    for (int i = 0; i < kSlotSize; ++i)
        r[i] = char((i * 29 + s * 53 + (i >> 4)) & 0xFF);
    const Station &st = kStations[(s - 1) % std::size(kStations)];
    const int round = (s - 1) / int(std::size(kStations));
    r[1] = char(0xC0 | ((s + round) & 0x0F));
    QByteArray name(st.name);
    if (round > 0)
        name += ' ' + QByteArray::number(round + 1);
    name = name.left(17);
    r.replace(18, 17, name.leftJustified(17, '\0')); // 17 characters fill all 17 bytes
    r[35] = char(0x7E);                              // never part of the name
    r[45] = char(s % 8);                             // Filter TP
    r[46] = char((s * 3) % 8);                       // Filter HP
    r[47] = char(s & 1);                             // Eingang
    r[48] = char((s >> 1) & 1);                      // Abschwächer
    r[49] = char((s >> 2) & 1);                      // Hochpass
    r[51] = char(s % 6);                             // Modulation
    qToLittleEndian<qint32>(st.tenthsHz + round * 10, r.data() + 156);
    qToLittleEndian<qint16>(qint16(round % 2 ? -st.shift : st.shift), r.data() + 202);
    qToLittleEndian<quint16>(st.bandwidth, r.data() + 204);
    return r;
}

class SlotsFeature : public sim::Feature {
  public:
    SlotsFeature() {
        for (int s = 1; s <= kSlots; ++s)
            m_slots += stationRecord(s);
    }

    QString name() const override { return QStringLiteral("slots"); }

    void addOptions(QCommandLineParser &parser) override {
        parser.addOption({QStringLiteral("slot-refuse"),
                          QStringLiteral("Refuse (55) a write or clear of this slot (1-63)."),
                          QStringLiteral("slot")});
        parser.addOption({QStringLiteral("slot-silent"),
                          QStringLiteral("Never answer a read, write or clear of this slot."),
                          QStringLiteral("slot")});
        parser.addOption({QStringLiteral("slot-short"),
                          QStringLiteral("Answer a read of this slot with a reply 12 bytes short."),
                          QStringLiteral("slot")});
        parser.addOption({QStringLiteral("slot-fault"),
                          QStringLiteral("Change the reply to a read of slot S: S:twice (sent "
                                         "again for the next read), S:status (a status word "
                                         "instead of the record), S:number=N (the reply names "
                                         "slot N). Repeatable."),
                          QStringLiteral("rule")});
        parser.addOption({QStringLiteral("slot-reply-length"),
                          QStringLiteral("Length of a slot reply: 264 (default; code, slot number "
                                         "and record) or 256 (the record's last 8 bytes left "
                                         "out)."),
                          QStringLiteral("bytes")});
    }

    bool configure(const QCommandLineParser &parser, QString &error) override {
        for (auto [opt, target] :
             {std::pair{"slot-refuse", &m_refuse}, std::pair{"slot-silent", &m_silent},
              std::pair{"slot-short", &m_short}}) {
            const QString o = QString::fromLatin1(opt);
            if (!parser.isSet(o))
                continue;
            bool ok = false;
            *target = parser.value(o).toInt(&ok);
            if (!ok || *target < 1 || *target > kSlots) {
                error = QStringLiteral("--%1 needs a slot number 1 to 63").arg(o);
                return false;
            }
        }
        for (const QString &rule : parser.values(QStringLiteral("slot-fault"))) {
            const QString slot = rule.section(QLatin1Char(':'), 0, 0);
            const QString action = rule.section(QLatin1Char(':'), 1);
            bool ok = false;
            const int s = slot.toInt(&ok);
            SlotFault f;
            if (action == QLatin1String("twice")) {
                f.kind = SlotFault::Twice;
            } else if (action == QLatin1String("status")) {
                f.kind = SlotFault::Status;
            } else if (action.startsWith(QLatin1String("number="))) {
                f.kind = SlotFault::Number;
                bool numberOk = false;
                f.number = quint32(action.mid(7).toULongLong(&numberOk, 0));
                ok = ok && numberOk && action.mid(7).toULongLong(nullptr, 0) <= 0xFFFFFFFFull;
            } else {
                ok = false;
            }
            if (!ok || s < 1 || s > kSlots) {
                error = QStringLiteral("--slot-fault takes S:twice, S:status or S:number=N "
                                       "(S a slot number 1 to 63)");
                return false;
            }
            m_faults.insert(s, f);
        }
        if (parser.isSet(QStringLiteral("slot-reply-length"))) {
            const QString v = parser.value(QStringLiteral("slot-reply-length"));
            if (v != QLatin1String("256") && v != QLatin1String("264")) {
                error = QStringLiteral("--slot-reply-length takes 256 or 264");
                return false;
            }
            m_replyLength = v.toInt();
        }
        // The state folder is known once the options are read.
        QTimer::singleShot(0, [this] { save(); });
        return true;
    }

    int handle(sim::Session &session, const QByteArray &buf) override {
        const quint8 cmd = quint8(buf[0]);
        if (cmd == 0x10)
            return handleRead(session);
        if (cmd != 0x11)
            return -1;
        if (buf.size() < 4 + kSlotSize)
            return 0;
        const int s = quint8(buf[1]);
        if (s == m_silent)
            return 4 + kSlotSize;
        if (s < 1 || s > kSlots || s == m_refuse) {
            session.reply(sim::le32(0x55));
            return 4 + kSlotSize;
        }
        // A clear carries 258 zero bytes after the slot number, so its
        // record is 256 zero bytes: the same layout as a write.
        m_slots.replace((s - 1) * kSlotSize, kSlotSize, buf.mid(4, kSlotSize));
        save();
        session.reply(sim::le32(0x00));
        return 4 + kSlotSize;
    }

  private:
    struct SlotFault {
        enum Kind { Twice, Status, Number };
        Kind kind = Twice;
        quint32 number = 0;
    };

    int handleRead(sim::Session &session) {
        const int s = m_cursor;
        m_cursor = s % kSlots + 1;
        if (s == m_silent)
            return 1;
        const auto fault = m_faults.constFind(s);
        quint32 named = quint32(s);
        if (fault != m_faults.cend()) {
            if (fault->kind == SlotFault::Twice && !m_repeated) {
                m_cursor = s; // the next read gets this slot again
                m_repeated = true;
            } else if (fault->kind == SlotFault::Twice) {
                m_repeated = false;
            } else if (fault->kind == SlotFault::Status) {
                session.reply(sim::le32(0x00));
                return 1;
            } else {
                named = fault->number;
            }
        }
        QByteArray payload =
            sim::le32(0x10) + sim::le32(named) + m_slots.mid((s - 1) * kSlotSize, kSlotSize);
        payload.truncate(m_replyLength);
        if (s == m_short)
            payload.chop(12);
        session.reply(payload);
        return 1;
    }

    // Written before the acknowledgement goes out, so a test that reads the
    // file after the program's operation ended sees the new content. No
    // fsync: the file only has to outlive the simulator's run.
    void save() {
        QFile f(QDir(sim::stateDir()).filePath(QStringLiteral("slots.bin")));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(m_slots);
    }

    QByteArray m_slots;
    int m_cursor = 1;
    int m_refuse = 0;
    int m_silent = 0;
    int m_short = 0;
    int m_replyLength = 8 + kSlotSize;
    QMap<int, SlotFault> m_faults;
    bool m_repeated = false;
};

} // namespace

SIM_REGISTER_FEATURE(SlotsFeature)
