// Synchronise / keep-alive: 55 -> 5A 00 00 00 (bootloader active),
// 55 00 00 00 (configuration active) or 00 00 00 00 (neither).
#include "SimCore.h"
#include "SimModel.h"

#include <QCommandLineParser>

namespace {

class SyncFeature : public sim::Feature {
public:
    QString name() const override { return QStringLiteral("sync"); }

    void addOptions(QCommandLineParser &parser) override {
        parser.addOption({QStringLiteral("mode"),
                          QStringLiteral("What the receiver runs: boot (answers 5A), config "
                                         "(answers 55) or none (answers 00). Default boot."),
                          QStringLiteral("mode"), QStringLiteral("boot")});
        parser.addOption(
            {QStringLiteral("sync-answers"),
             QStringLiteral("Codes (hex, comma-separated) for successive synchronise requests, "
                            "e.g. 55,55,5A; the last one repeats. Overrides --mode for 55."),
             QStringLiteral("list")});
    }

    bool configure(const QCommandLineParser &parser, QString &error) override {
        const QString mode = parser.value(QStringLiteral("mode"));
        if (mode == QLatin1String("boot")) {
            sim::model().mode = sim::SimModel::Mode::Boot;
        } else if (mode == QLatin1String("config")) {
            sim::model().mode = sim::SimModel::Mode::Config;
        } else if (mode == QLatin1String("none")) {
            sim::model().mode = sim::SimModel::Mode::None;
        } else {
            error = QStringLiteral("--mode must be boot, config or none");
            return false;
        }
        if (parser.isSet(QStringLiteral("sync-answers"))) {
            for (const QString &item : parser.value(QStringLiteral("sync-answers")).split(',')) {
                bool ok = false;
                const uint code = item.trimmed().toUInt(&ok, 16);
                if (!ok || code > 0xFF) {
                    error = QStringLiteral("--sync-answers needs hex bytes like 55,55,5A");
                    return false;
                }
                m_answers.append(quint8(code));
            }
        }
        return true;
    }

    int handle(sim::Session &session, const QByteArray &buf) override {
        if (quint8(buf[0]) != 0x55)
            return -1;
        session.reply(sim::le32(nextCode()));
        return 1;
    }

private:
    quint8 nextCode() {
        if (!m_answers.isEmpty()) {
            const quint8 code = m_answers[qMin(m_next, int(m_answers.size()) - 1)];
            ++m_next;
            return code;
        }
        switch (sim::model().mode) {
        case sim::SimModel::Mode::Boot:
            return 0x5A;
        case sim::SimModel::Mode::Config:
            return 0x55;
        default:
            return 0x00;
        }
    }

    QList<quint8> m_answers;
    int m_next = 0;
};

} // namespace

SIM_REGISTER_FEATURE(SyncFeature)
