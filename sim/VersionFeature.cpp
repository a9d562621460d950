// Version request: 12 -> payload 12 40 05 00 03 01 00 00 ("LMK540 V103").
#include "SimCore.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

class VersionFeature : public sim::Feature {
public:
    QString name() const override { return QStringLiteral("version"); }

    void addOptions(QCommandLineParser &parser) override {
        parser.addOption({QStringLiteral("version-payload"),
                          QStringLiteral("Payload of the version reply in hex (default "
                                         "1240050003010000, LMK540 V103)."),
                          QStringLiteral("hex")});
    }

    bool configure(const QCommandLineParser &parser, QString &error) override {
        if (!parser.isSet(QStringLiteral("version-payload")))
            return true;
        const QString hex = parser.value(QStringLiteral("version-payload"));
        static const QRegularExpression re(QStringLiteral("^([0-9a-fA-F]{2})*$"));
        if (!re.match(hex).hasMatch() || hex.size() > 2 * 1020) {
            error = QStringLiteral("--version-payload needs hex bytes (at most 1020)");
            return false;
        }
        m_payload = QByteArray::fromHex(hex.toLatin1());
        return true;
    }

    int handle(sim::Session &session, const QByteArray &buf) override {
        if (quint8(buf[0]) != 0x12)
            return -1;
        session.reply(m_payload);
        return 1;
    }

private:
    QByteArray m_payload = QByteArray::fromHex("1240050003010000");
};

} // namespace

SIM_REGISTER_FEATURE(VersionFeature)
