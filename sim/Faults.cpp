#include "Faults.h"

#include <QCommandLineParser>

namespace sim {

namespace {

QString key(const QString &transport, quint8 command) {
    return transport + QLatin1Char(':') + QString::number(command, 16);
}

bool parseMs(const QString &text, int &out) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 0)
        return false;
    out = v;
    return true;
}

bool parseHex(const QString &text, QByteArray &out) {
    if (text.size() % 2 != 0)
        return false;
    for (QChar c : text)
        if (!c.isDigit() && !QStringLiteral("abcdefABCDEF").contains(c))
            return false;
    out = QByteArray::fromHex(text.toLatin1());
    return true;
}

} // namespace

FaultPlan &FaultPlan::instance() {
    static FaultPlan plan;
    return plan;
}

QString FaultPlan::helpText() {
    return QStringLiteral(
        "Fault injection (--fault, repeatable): [wlan|usb:]CMD[#N]:ACTION\n"
        "  CMD     first byte of the request in hex, e.g. 12 (version), 55 (sync)\n"
        "  #N      only the N-th such request on that transport (1-based); omitted: every one\n"
        "  ACTION  silent        no reply\n"
        "          close         close the connection instead of replying\n"
        "          delay=MS      reply MS milliseconds later (later replies wait behind it)\n"
        "          raw=HEX[+HEX...]  send these bytes instead of the reply; each '+' chunk is\n"
        "                        written separately, --chunk-gap ms apart\n"
        "          before=HEX[+HEX...]  send each chunk as the payload of a frame of its own\n"
        "                        ahead of the reply (--chunk-gap ms apart, the reply one gap\n"
        "                        after the last), e.g. 02000000 or c000000000000000\n"
        "  Examples: --fault 12:raw=0000 (zero-length frame), --fault 12:raw=0104 (oversized),\n"
        "            --fault wlan:55#2:close, --fault usb:12:delay=500,\n"
        "            --fault 84:before=02000000 (a status-less frame before the reply)\n");
}

void FaultPlan::addOptions(QCommandLineParser &parser) {
    parser.addOption({QStringLiteral("delay"), QStringLiteral("Delay every reply by <ms>."),
                      QStringLiteral("ms")});
    parser.addOption({QStringLiteral("silent"), QStringLiteral("Never reply.")});
    parser.addOption({QStringLiteral("fault"),
                      QStringLiteral("Inject a fault: [wlan|usb:]CMD[#N]:ACTION, ACTION one of "
                                     "silent, close, delay=MS, raw=HEX[+HEX...], "
                                     "before=HEX[+HEX...] (repeatable)."),
                      QStringLiteral("rule")});
    parser.addOption({QStringLiteral("flood"),
                      QStringLiteral("Send frames nobody asked for: "
                                     "[wlan|usb:]BYTES_PER_S:SECONDS[:FRAME_BYTES] (repeatable)."),
                      QStringLiteral("rule")});
    parser.addOption({QStringLiteral("chunk-gap"),
                      QStringLiteral("Gap between raw fault chunks in ms (default 20)."),
                      QStringLiteral("ms"), QStringLiteral("20")});
}

bool FaultPlan::configure(const QCommandLineParser &parser, QString &error) {
    if (parser.isSet(QStringLiteral("delay")) &&
        !parseMs(parser.value(QStringLiteral("delay")), globalDelayMs)) {
        error = QStringLiteral("--delay needs a number of milliseconds");
        return false;
    }
    if (!parseMs(parser.value(QStringLiteral("chunk-gap")), chunkGapMs)) {
        error = QStringLiteral("--chunk-gap needs a number of milliseconds");
        return false;
    }
    silent = parser.isSet(QStringLiteral("silent"));
    for (const QString &text : parser.values(QStringLiteral("fault"))) {
        FaultRule rule;
        if (!parseRule(text, rule, error))
            return false;
        rules.append(rule);
    }
    for (const QString &text : parser.values(QStringLiteral("flood"))) {
        FloodRule flood;
        if (!parseFlood(text, flood, error))
            return false;
        floods.append(flood);
    }
    return true;
}

bool FaultPlan::parseFlood(const QString &text, FloodRule &flood, QString &error) {
    QString rest = text;
    for (const QString &t : {QStringLiteral("wlan"), QStringLiteral("usb")}) {
        if (rest.startsWith(t + QLatin1Char(':'))) {
            flood.transport = t;
            rest = rest.mid(t.size() + 1);
        }
    }
    const QStringList parts = rest.split(QLatin1Char(':'));
    bool ok[3] = {false, false, true};
    if (parts.size() == 2 || parts.size() == 3) {
        flood.bytesPerSecond = parts[0].toInt(&ok[0]);
        flood.seconds = parts[1].toInt(&ok[1]);
        if (parts.size() == 3)
            flood.frameBytes = parts[2].toInt(&ok[2]);
    }
    if (!ok[0] || !ok[1] || !ok[2] || flood.bytesPerSecond < 1 ||
        flood.bytesPerSecond > 16 * 1000 * 1000 || flood.seconds < 1 || flood.seconds > 3600 ||
        flood.frameBytes < 5 || flood.frameBytes > 1024) {
        error = QStringLiteral("bad --flood '%1': expected [wlan|usb:]BYTES_PER_S:SECONDS"
                               "[:FRAME_BYTES], at most 16000000 bytes/s for 1 to 3600 s, "
                               "frames of 5 to 1024 bytes")
                    .arg(text);
        return false;
    }
    return true;
}

bool FaultPlan::parseRule(const QString &text, FaultRule &rule, QString &error) {
    const QString bad = QStringLiteral("bad --fault '%1': ").arg(text);
    QString rest = text;
    for (const QString &t : {QStringLiteral("wlan"), QStringLiteral("usb")}) {
        if (rest.startsWith(t + QLatin1Char(':'))) {
            rule.transport = t;
            rest = rest.mid(t.size() + 1);
        }
    }
    const int colon = rest.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        error = bad + QStringLiteral("expected CMD:ACTION");
        return false;
    }
    QString cmd = rest.left(colon);
    const QString action = rest.mid(colon + 1);
    const int hash = cmd.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        bool ok = false;
        rule.occurrence = cmd.mid(hash + 1).toInt(&ok);
        if (!ok || rule.occurrence < 1) {
            error = bad + QStringLiteral("#N must be 1 or more");
            return false;
        }
        cmd = cmd.left(hash);
    }
    QByteArray cmdByte;
    if (!parseHex(cmd, cmdByte) || cmdByte.size() != 1) {
        error = bad + QStringLiteral("CMD must be one byte in hex");
        return false;
    }
    rule.command = quint8(cmdByte[0]);

    FaultAction &a = rule.action;
    if (action == QLatin1String("silent")) {
        a.kind = FaultAction::Silent;
    } else if (action == QLatin1String("close")) {
        a.kind = FaultAction::Close;
    } else if (action.startsWith(QLatin1String("delay="))) {
        a.kind = FaultAction::Delay;
        if (!parseMs(action.mid(6), a.delayMs)) {
            error = bad + QStringLiteral("delay=MS needs a number");
            return false;
        }
    } else if (action.startsWith(QLatin1String("raw=")) ||
               action.startsWith(QLatin1String("before="))) {
        const bool raw = action.startsWith(QLatin1String("raw="));
        a.kind = raw ? FaultAction::Raw : FaultAction::Before;
        for (const QString &chunk : action.mid(raw ? 4 : 7).split(QLatin1Char('+'))) {
            QByteArray bytes;
            if (!parseHex(chunk, bytes)) {
                error = bad + QStringLiteral("raw chunks must be hex bytes");
                return false;
            }
            a.chunks.append(bytes);
        }
    } else {
        error = bad + QStringLiteral("ACTION must be silent, close, delay=MS, raw=HEX[+HEX...] "
                                     "or before=HEX[+HEX...]");
        return false;
    }
    return true;
}

FaultAction FaultPlan::peek(const QString &transport, quint8 command) const {
    const int n = m_seen.value(key(transport, command)) + 1;
    // A rule for this very occurrence wins over one for every occurrence.
    const FaultRule *every = nullptr;
    for (const FaultRule &r : rules) {
        if (r.command != command || (!r.transport.isEmpty() && r.transport != transport))
            continue;
        if (r.occurrence == n)
            return r.action;
        if (r.occurrence == 0 && !every)
            every = &r;
    }
    return every ? every->action : FaultAction{};
}

void FaultPlan::count(const QString &transport, quint8 command) {
    ++m_seen[key(transport, command)];
}

} // namespace sim
