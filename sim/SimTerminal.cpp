// The receiver's USB terminal and its WiFi module.
//
// Terminal mode is switched by the core's terminal-mode feature (0D 01 /
// 0D 00, SimModel::terminalMode); this feature listens to that switch and
// answers 0D 01 with the current access-point settings as 8 text lines:
//
//   SSID:\r\n<ssid>\r\nPasskey:\r\n<passkey>\r\nChannel:\r\n<channel>\r\n
//   TX-Power (dBm):\r\n<power>\r\n
//
// (optionally cut into several frames of about the same size, --ap-split, or
// into two at a given byte, --ap-cut). Terminal text frames
// 19 <count> <text> come in two shapes:
//   - a line: 19 L+2 <line> 0D 0A 00 <filler up to a multiple of 5>, answered
//     with the acknowledgement 00 00 00 00 and then the command's answer;
//   - the access-point configuration: 19 56 and five command lines with no
//     zero byte and no filler (recognised by a line break before the end of
//     the text), acknowledged once and answered line by line.
// Outside terminal mode text frames are consumed and not answered.
//
// Commands: "ver", "help", "ap" (the 8-line answer again), and the WiFi
// module's "set so s <ssid>", "set so p <passkey>", "set so c <channel>",
// "set wl t <power>" (applied at once) and "save", which writes the settings
// to <state-dir>/accesspoint.txt as ssid=, passkey=, channel=, power= lines
// (Latin-1).
#include "SimCore.h"
#include "SimModel.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSaveFile>

namespace {

struct AccessPoint {
    QByteArray ssid = "LMK5x-0001";
    QByteArray passkey = "lmk-passkey-0123456789";
    QByteArray channel = "6";
    QByteArray power = "12";
};

class SimTerminal : public sim::Feature {
public:
    QString name() const override { return QStringLiteral("terminal"); }

    void addOptions(QCommandLineParser &parser) override {
        parser.addOption({QStringLiteral("ap-ssid"),
                          QStringLiteral("Access point name (default LMK5x-0001)."),
                          QStringLiteral("text")});
        parser.addOption({QStringLiteral("ap-passkey"),
                          QStringLiteral("Access point passkey (default lmk-passkey-0123456789)."),
                          QStringLiteral("text")});
        parser.addOption({QStringLiteral("ap-channel"),
                          QStringLiteral("Access point channel text (default 6)."),
                          QStringLiteral("text")});
        parser.addOption({QStringLiteral("ap-power"),
                          QStringLiteral("Transmit power text in dBm (default 12)."),
                          QStringLiteral("text")});
        parser.addOption({QStringLiteral("ap-split"),
                          QStringLiteral("Send the access-point answer in this many frames "
                                         "(1 to 50, default 1)."),
                          QStringLiteral("n")});
        parser.addOption({QStringLiteral("ap-cut"),
                          QStringLiteral("Send the access-point answer in two frames, the first "
                                         "one of this many bytes."),
                          QStringLiteral("n")});
        parser.addOption({QStringLiteral("ap-silent"),
                          QStringLiteral("Do not answer 0D 01 with the access-point settings.")});
    }

    bool configure(const QCommandLineParser &parser, QString &error) override {
        auto text = [&](const char *opt, QByteArray &into) {
            if (parser.isSet(QLatin1String(opt)))
                into = parser.value(QLatin1String(opt)).toLatin1();
        };
        text("ap-ssid", m_ap.ssid);
        text("ap-passkey", m_ap.passkey);
        text("ap-channel", m_ap.channel);
        text("ap-power", m_ap.power);
        if (parser.isSet(QStringLiteral("ap-split"))) {
            bool ok = false;
            m_split = parser.value(QStringLiteral("ap-split")).toInt(&ok);
            if (!ok || m_split < 1 || m_split > 50) {
                error = QStringLiteral("--ap-split needs a number from 1 to 50");
                return false;
            }
        }
        if (parser.isSet(QStringLiteral("ap-cut"))) {
            bool ok = false;
            m_cut = parser.value(QStringLiteral("ap-cut")).toInt(&ok);
            if (!ok || m_cut < 1 || m_cut >= apAnswer().size()) {
                error = QStringLiteral("--ap-cut needs a number from 1 to %1")
                            .arg(apAnswer().size() - 1);
                return false;
            }
        }
        m_silent = parser.isSet(QStringLiteral("ap-silent"));
        sim::model().terminalModeListeners.push_back([this](sim::Session &s, bool on) {
            if (on && !m_silent)
                sendApAnswer(s);
        });
        return true;
    }

    int handle(sim::Session &session, const QByteArray &buf) override {
        if (quint8(buf[0]) != 0x19)
            return -1;
        if (buf.size() < 2)
            return 0;
        const int count = quint8(buf[1]);
        if (buf.size() < 2 + count)
            return 0;
        const QByteArray text = buf.mid(2, count);
        const qsizetype firstBreak = text.indexOf("\r\n");
        const bool commandBlock = firstBreak >= 0 && firstBreak + 2 < count;
        // A line: L + 5 bytes (count = L + 2) rounded up to a multiple of 5.
        const int total = commandBlock ? 2 + count : (count + 3 + 4) / 5 * 5;
        if (buf.size() < total)
            return 0;
        if (!sim::model().terminalMode)
            return total;
        session.reply(QByteArray(4, '\0'));
        QByteArray answer;
        for (QByteArray line : text.split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            if (!line.isEmpty())
                answer += command(line);
        }
        if (!answer.isEmpty())
            session.reply(answer.left(1020));
        return total;
    }

private:
    QByteArray apAnswer() const {
        return "SSID:\r\n" + m_ap.ssid + "\r\nPasskey:\r\n" + m_ap.passkey + "\r\nChannel:\r\n" +
               m_ap.channel + "\r\nTX-Power (dBm):\r\n" + m_ap.power + "\r\n";
    }

    void sendApAnswer(sim::Session &s) {
        const QByteArray a = apAnswer();
        if (m_cut > 0 && m_cut < a.size()) {
            s.reply(a.left(m_cut));
            s.reply(a.mid(m_cut));
            return;
        }
        const int n = qMin(m_split, int(a.size()));
        qsizetype from = 0;
        for (int i = 1; i <= n; ++i) {
            const qsizetype to = a.size() * i / n;
            s.reply(a.mid(from, to - from));
            from = to;
        }
    }

    QByteArray command(const QByteArray &line) {
        auto arg = [&](const char *prefix, QByteArray &into, bool trim) {
            if (!line.startsWith(prefix))
                return false;
            into = line.mid(qstrlen(prefix));
            if (trim)
                into = into.trimmed();
            return true;
        };
        if (arg("set so s ", m_ap.ssid, false) || arg("set so p ", m_ap.passkey, false) ||
            arg("set so c ", m_ap.channel, true) || arg("set wl t ", m_ap.power, true))
            return "AP OK\r\n";
        if (line == "save")
            return save() ? "Saved\r\n" : "Save failed\r\n";
        if (line == "ver")
            return "LMK540 V103\r\n";
        if (line == "ap")
            return apAnswer();
        if (line == "help")
            return "Commands: ver, ap, help, set so s|p|c <text>, set wl t <text>, save\r\n";
        return "Unknown command: " + line + "\r\n";
    }

    bool save() const {
        QSaveFile f(QDir(sim::stateDir()).filePath(QStringLiteral("accesspoint.txt")));
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write("ssid=" + m_ap.ssid + "\npasskey=" + m_ap.passkey + "\nchannel=" + m_ap.channel +
                "\npower=" + m_ap.power + "\n");
        return f.commit();
    }

    AccessPoint m_ap;
    int m_split = 1;
    int m_cut = 0; // 0: no cut
    bool m_silent = false;
};

} // namespace

SIM_REGISTER_FEATURE(SimTerminal)
