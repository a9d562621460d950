// Upload into the configuration (09) or into an external task (0C).
//
//   -> 09 | S                      header, Configuration (5 bytes)
//   -> 0C | S, 00 | id1 00 00, xx | id2 00 00, xx | id3 00 00   (20 bytes)
//   -> 81 n0 n1 n2 n3, 82 .., 83 ..   three name packets (name block
//                                     bytes 2.. hold the file name)
//   -> 64 groups of lead | 4 file bytes, ..., a last short packet
// Each group's lead byte must be 0x80 | (n mod 128), n counting groups from
// 1 after the header; the packet sizes follow from S. Every request is
// answered with working words (55 00 00 00) and then a ready word
// (00 00 00 00); a wrong lead byte, or a packet without a transfer, is
// refused with 5A 00 00 00.
//
//   --upload-working N     working replies after every packet (default 0)
//   --upload-erase N       working replies after the header (default 0)
//   --upload-gap MS        pause before every reply after the first of a
//                          request (default 0: all at once)
//   --upload-refuse-at K   answer request K (0 = header, 1.. = packets) 5A
//   --upload-silent-at K   from request K on, answer nothing
//
// A complete file is stored in the state folder as upload-<seq>.bin, and a
// line "<seq> config|task <id1>,<id2>,<id3> <size> <name>" is appended to
// uploads.txt. Protocol errors go to upload-errors.txt.
#include "SimCore.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int kFullGroups = 64;

class UploadFeature : public sim::Feature {
  public:
    QString name() const override { return QStringLiteral("upload"); }

    void addOptions(QCommandLineParser &parser) override {
        parser.addOption({QStringLiteral("upload-working"),
                          QStringLiteral("Working replies (55) before the ready reply of every "
                                         "upload packet."),
                          QStringLiteral("n"), QStringLiteral("0")});
        parser.addOption({QStringLiteral("upload-erase"),
                          QStringLiteral("Working replies before the ready reply of the upload "
                                         "header (the erase phase)."),
                          QStringLiteral("n"), QStringLiteral("0")});
        parser.addOption({QStringLiteral("upload-gap"),
                          QStringLiteral("Milliseconds between the replies to one upload request."),
                          QStringLiteral("ms"), QStringLiteral("0")});
        parser.addOption({QStringLiteral("upload-refuse-at"),
                          QStringLiteral("Refuse (5A) upload request K (0 = header)."),
                          QStringLiteral("k")});
        parser.addOption({QStringLiteral("upload-silent-at"),
                          QStringLiteral("Answer no upload request from K on (0 = header)."),
                          QStringLiteral("k")});
    }

    bool configure(const QCommandLineParser &parser, QString &error) override {
        auto number = [&](const char *name, int &out) {
            const QString key = QLatin1String(name);
            if (!parser.isSet(key) && parser.value(key).isEmpty())
                return true;
            bool ok = false;
            out = parser.value(key).toInt(&ok);
            if (!ok || out < 0) {
                error = QStringLiteral("--%1 needs a number of 0 or more").arg(key);
                return false;
            }
            return true;
        };
        return number("upload-working", m_working) && number("upload-erase", m_erase) &&
               number("upload-gap", m_gapMs) && number("upload-refuse-at", m_refuseAt) &&
               number("upload-silent-at", m_silentAt);
    }

    int handle(sim::Session &session, const QByteArray &buf) override {
        const quint8 cmd = quint8(buf[0]);
        m_sessions.insert(session.id(), &session);
        if (cmd == 0x09 || cmd == 0x0C)
            return header(session, buf, cmd == 0x0C);
        if (cmd < 0x80)
            return -1;
        Transfer *t = m_transfers.contains(session.id()) ? &m_transfers[session.id()] : nullptr;
        if (!t) {
            fail(session, QStringLiteral("packet %1 without an upload").arg(cmd, 2, 16));
            return int(buf.size()); // its length is unknown: drop what is held
        }
        return packet(session, *t, buf);
    }

    void sessionClosed(sim::Session &session) override {
        m_sessions.remove(session.id());
        m_transfers.remove(session.id());
    }

  private:
    struct Transfer {
        bool external = false;
        quint32 ids[3] = {0, 0, 0};
        quint32 size = 0;
        qint64 n = 1; // next group
        QByteArray name;
        QByteArray data;
        int request = 0; // requests so far, the header included
    };

    static quint32 le32At(const QByteArray &b, int at) {
        return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
               quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
    }

    int header(sim::Session &session, const QByteArray &buf, bool external) {
        const int need = external ? 20 : 5;
        if (buf.size() < need)
            return 0;
        Transfer t;
        t.external = external;
        t.size = le32At(buf, 1);
        if (external) {
            if (buf[5] != '\0') {
                m_transfers.remove(session.id());
                fail(session, QStringLiteral("external header: lead byte of group 2 is not 00"));
                return need;
            }
            for (int i = 0; i < 3; ++i)
                t.ids[i] = le32At(buf, 6 + 5 * i);
        }
        if (t.size == 0) {
            m_transfers.remove(session.id());
            fail(session, QStringLiteral("header with size 0"));
            return need;
        }
        m_transfers.insert(session.id(), t);
        answer(session, m_transfers[session.id()], m_erase);
        return need;
    }

    int packet(sim::Session &session, Transfer &t, const QByteArray &buf) {
        int groups = 1;
        if (t.n > 3) {
            const qint64 left = qint64(t.size) - t.data.size();
            groups = left >= 4 * kFullGroups ? kFullGroups : int((left + 3) / 4);
        }
        const int need = groups * 5;
        if (buf.size() < need)
            return 0;
        for (int g = 0; g < groups; ++g) {
            const quint8 lead = quint8(buf[g * 5]);
            const quint8 expected = quint8(0x80 | ((t.n + g) % 128));
            if (lead != expected) {
                m_transfers.remove(session.id());
                fail(session, QStringLiteral("group %1: lead byte %2, expected %3")
                                  .arg(t.n + g)
                                  .arg(lead, 2, 16, QLatin1Char('0'))
                                  .arg(expected, 2, 16, QLatin1Char('0')));
                return need;
            }
        }
        if (t.n <= 3) {
            t.name += buf.mid(1, 4);
        } else {
            for (int g = 0; g < groups; ++g)
                t.data += buf.mid(g * 5 + 1, 4);
            if (t.data.size() >= qint64(t.size)) {
                t.data.truncate(t.size);
                store(t);
            }
        }
        t.n += groups;
        const bool last = t.n > 3 && t.data.size() >= qint64(t.size);
        answer(session, t, m_working);
        if (last)
            m_transfers.remove(session.id());
        return need;
    }

    void answer(sim::Session &session, Transfer &t, int working) {
        const int k = t.request++;
        if (m_silentAt >= 0 && k >= m_silentAt)
            return;
        if (k == m_refuseAt) {
            session.reply(sim::le32(0x5A));
            return;
        }
        QList<QByteArray> replies;
        for (int i = 0; i < working; ++i)
            replies << sim::le32(0x55);
        replies << sim::le32(0x00);
        session.reply(replies.takeFirst());
        int at = 0;
        const int id = session.id();
        for (const QByteArray &r : replies) {
            if (m_gapMs == 0) {
                session.reply(r);
                continue;
            }
            at += m_gapMs;
            sim::Session *s = &session;
            QTimer::singleShot(at, [this, id, s, r] {
                if (m_sessions.value(id) == s)
                    s->reply(r);
            });
        }
    }

    void store(const Transfer &t) {
        ++m_stored;
        const QDir dir(sim::stateDir());
        const QString file = QStringLiteral("upload-%1.bin").arg(m_stored);
        QFile out(dir.filePath(file));
        if (out.open(QIODevice::WriteOnly))
            out.write(t.data);
        QByteArray name = t.name.mid(2);
        const int end = name.indexOf('\0');
        if (end >= 0)
            name.truncate(end);
        QFile index(dir.filePath(QStringLiteral("uploads.txt")));
        if (index.open(QIODevice::Append)) {
            auto id = [](quint32 v) {
                return QString::number(v, 16).rightJustified(4, QLatin1Char('0')).toUpper();
            };
            const QString line =
                QStringLiteral("%1 %2 %3,%4,%5 %6 %7\n")
                    .arg(m_stored)
                    .arg(t.external ? QStringLiteral("task") : QStringLiteral("config"),
                         id(t.ids[0]), id(t.ids[1]), id(t.ids[2]))
                    .arg(t.size)
                    .arg(QString::fromLatin1(name));
            index.write(line.toLatin1());
        }
    }

    void fail(sim::Session &session, const QString &what) {
        QFile f(QDir(sim::stateDir()).filePath(QStringLiteral("upload-errors.txt")));
        if (f.open(QIODevice::Append))
            f.write((session.transport() + QLatin1Char(' ') + what + QLatin1Char('\n')).toLatin1());
        session.reply(sim::le32(0x5A));
    }

    int m_working = 0;
    int m_erase = 0;
    int m_gapMs = 0;
    int m_refuseAt = -1;
    int m_silentAt = -1;
    int m_stored = 0;
    QHash<int, sim::Session *> m_sessions;
    QHash<int, Transfer> m_transfers;
};

} // namespace

SIM_REGISTER_FEATURE(UploadFeature)
