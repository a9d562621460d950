// Task list: 0B -> 0B 00 00 00, then one 12-byte record per external task
// (three 32-bit little-endian ids), then 4 zero bytes.
//
//   --tasks LIST         the tasks, "01A2:0003:00F0,1A2B:0003:0000" (hex ids);
//                        "none" for an empty list. Default: two tasks.
//   --task-count N       N generated tasks instead (ids 0x0100+i, i, 0xF000+i)
//   --task-reply-bytes N the payload cut or zero-padded to exactly N bytes
//                        (malformed lengths: 7, 509, ...; at most 1020)
// Silence is a fault: --fault 0b:silent.
#include "SimCore.h"

#include <QCommandLineParser>

#include <array>

namespace {

class TasksFeature : public sim::Feature {
  public:
    QString name() const override { return QStringLiteral("tasks"); }

    void addOptions(QCommandLineParser &parser) override {
        parser.addOption({QStringLiteral("tasks"),
                          QStringLiteral("External tasks as hex id triples, e.g. "
                                         "01A2:0003:00F0,1A2B:0003:0000; \"none\" for none."),
                          QStringLiteral("list")});
        parser.addOption({QStringLiteral("task-count"),
                          QStringLiteral("N generated tasks (ids 0100+i, i, F000+i)."),
                          QStringLiteral("n")});
        parser.addOption({QStringLiteral("task-reply-bytes"),
                          QStringLiteral("Cut or zero-pad the task-list payload to N bytes."),
                          QStringLiteral("n")});
    }

    bool configure(const QCommandLineParser &parser, QString &error) override {
        if (parser.isSet(QStringLiteral("tasks"))) {
            m_tasks.clear();
            const QString list = parser.value(QStringLiteral("tasks"));
            if (list != QLatin1String("none")) {
                for (const QString &item : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                    const QStringList ids = item.split(QLatin1Char(':'));
                    std::array<quint32, 3> t{};
                    bool ok = ids.size() == 3;
                    for (int i = 0; ok && i < 3; ++i)
                        t[size_t(i)] = ids[i].toUInt(&ok, 16);
                    if (!ok) {
                        error = QStringLiteral("--tasks needs hex id triples like 01A2:0003:00F0");
                        return false;
                    }
                    m_tasks.push_back(t);
                }
            }
        }
        if (parser.isSet(QStringLiteral("task-count"))) {
            bool ok = false;
            const int n = parser.value(QStringLiteral("task-count")).toInt(&ok);
            if (!ok || n < 0 || n > 84) {
                error = QStringLiteral("--task-count needs 0 to 84");
                return false;
            }
            m_tasks.clear();
            for (int i = 0; i < n; ++i)
                m_tasks.push_back({quint32(0x0100 + i), quint32(i), quint32(0xF000 + i)});
        }
        if (parser.isSet(QStringLiteral("task-reply-bytes"))) {
            bool ok = false;
            m_replyBytes = parser.value(QStringLiteral("task-reply-bytes")).toInt(&ok);
            if (!ok || m_replyBytes < 1 || m_replyBytes > 1020) {
                error = QStringLiteral("--task-reply-bytes needs 1 to 1020");
                return false;
            }
        }
        return true;
    }

    int handle(sim::Session &session, const QByteArray &buf) override {
        if (quint8(buf[0]) != 0x0B)
            return -1;
        QByteArray payload = sim::le32(0x0B);
        for (const auto &t : m_tasks)
            payload += sim::le32(t[0]) + sim::le32(t[1]) + sim::le32(t[2]);
        payload += sim::le32(0);
        if (m_replyBytes > 0)
            payload.resize(m_replyBytes, '\0');
        else if (payload.size() > 1020)
            payload.resize(1020);
        session.reply(payload);
        return 1;
    }

  private:
    std::vector<std::array<quint32, 3>> m_tasks{{0x01A2, 0x0003, 0x00F0}, {0x1A2B, 0x0003, 0x0000}};
    int m_replyBytes = -1;
};

} // namespace

SIM_REGISTER_FEATURE(TasksFeature)
