// Display copy: the receiver's screen, sent column by column.
//
//   08 X(2) Y(2) W(2) H(2) 00   scan request (little-endian)
//     -> 00 00 00 00            accepted; or a refusal: 01 00 00 00 for an
//                               area off the screen, 02 00 00 00 for an
//                               empty one, --scan-refuse CODE for every one
//   00                          acknowledgement: the next column follows,
//     -> c(2) pixels(H) pad     P = H + 2 rounded up to a multiple of 4;
//                               the acknowledgement after the last column
//                               ends the scan
//   0A                          abort: no more columns
//
// The screen is 800 x 480 pixels (640 x 480 with --screen-vga), one byte per
// pixel: bits 7..5 blue, 4..2 green, 1..0 red. Its default content is a test
// pattern in which every byte value occurs: a white 1-pixel border, in the
// upper half 32 x 8 blocks of value bx + 32 * by, in the lower half 32 x 8
// blocks of value 8 * bx + by. --screen-image FILE shows a picture instead.
// The screen is written to <state-dir>/screen.raw (row-major, one byte per
// pixel) when the first scan request arrives. With --screen-changes the
// screen changes between scans: scan k (from 0) shows every pixel byte of
// screen.raw raised by k (mod 256), so every frame of a live view differs
// from the one before it in every pixel.
//
// Faults (--scan-fault KIND[:K], K = the K-th column sent, from 0, default 0):
//   wrong-length  that column is 4 bytes longer than P
//   bad-column    that column carries the index W
//   silence       that column and everything after it never comes
//   drop          the connection closes instead of that column
//   last-first    column W - 1 is the only column sent (K is not used)
#include "SimCore.h"

#include <QColor>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>

namespace {

constexpr int kHeight = 480;
constexpr quint8 kOffScreen = 0x01;
constexpr quint8 kEmptyArea = 0x02;

quint8 toPixel(QRgb c) {
    const int b = (qBlue(c) * 7 + 127) / 255;
    const int g = (qGreen(c) * 7 + 127) / 255;
    const int r = (qRed(c) * 3 + 127) / 255;
    return quint8(b << 5 | g << 2 | r);
}

class ScreenFeature : public sim::Feature {
public:
    QString name() const override { return QStringLiteral("screen"); }

    void addOptions(QCommandLineParser &parser) override {
        parser.addOption({QStringLiteral("screen-vga"),
                          QStringLiteral("Screen of 640 x 480 pixels instead of 800 x 480.")});
        parser.addOption({QStringLiteral("screen-image"),
                          QStringLiteral("Show this picture (scaled to the screen) instead of "
                                         "the test pattern."),
                          QStringLiteral("file")});
        parser.addOption({QStringLiteral("screen-changes"),
                          QStringLiteral("Scan k (from 0) shows every pixel raised by k (mod "
                                         "256): the screen changes between scans.")});
        parser.addOption({QStringLiteral("scan-refuse"),
                          QStringLiteral("Refuse every scan request with this code (1..255)."),
                          QStringLiteral("code")});
        parser.addOption({QStringLiteral("scan-fault"),
                          QStringLiteral("Scan fault KIND[:K]: wrong-length, bad-column, "
                                         "silence, drop (at the K-th column sent, default 0) "
                                         "or last-first."),
                          QStringLiteral("fault")});
    }

    bool configure(const QCommandLineParser &parser, QString &error) override {
        m_width = parser.isSet(QStringLiteral("screen-vga")) ? 640 : 800;
        m_screen = QByteArray(m_width * kHeight, '\0');
        if (parser.isSet(QStringLiteral("screen-image"))) {
            QImage img(parser.value(QStringLiteral("screen-image")));
            if (img.isNull()) {
                error = QStringLiteral("--screen-image: cannot read the picture");
                return false;
            }
            img = img.convertToFormat(QImage::Format_RGB32)
                      .scaled(m_width, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            for (int y = 0; y < kHeight; ++y) {
                const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
                for (int x = 0; x < m_width; ++x)
                    m_screen[y * m_width + x] = char(toPixel(line[x]));
            }
        } else {
            fillPattern();
        }
        m_changes = parser.isSet(QStringLiteral("screen-changes"));
        if (parser.isSet(QStringLiteral("scan-refuse"))) {
            bool ok = false;
            const uint code = parser.value(QStringLiteral("scan-refuse")).toUInt(&ok, 0);
            if (!ok || code < 1 || code > 255) {
                error = QStringLiteral("--scan-refuse needs a code from 1 to 255");
                return false;
            }
            m_refuse = quint8(code);
        }
        if (parser.isSet(QStringLiteral("scan-fault"))) {
            const QStringList parts = parser.value(QStringLiteral("scan-fault")).split(QLatin1Char(':'));
            static const QStringList kinds{QStringLiteral("wrong-length"), QStringLiteral("bad-column"),
                                           QStringLiteral("silence"), QStringLiteral("drop"),
                                           QStringLiteral("last-first")};
            m_fault = int(kinds.indexOf(parts[0])) + 1;
            bool ok = parts.size() == 1;
            if (parts.size() == 2)
                m_faultAt = parts[1].toInt(&ok);
            if (m_fault == 0 || !ok || parts.size() > 2 || m_faultAt < 0) {
                error = QStringLiteral("--scan-fault needs KIND[:K], KIND one of ") +
                        kinds.join(QStringLiteral(", "));
                return false;
            }
        }
        return true;
    }

    int handle(sim::Session &session, const QByteArray &buf) override {
        switch (quint8(buf[0])) {
        case 0x08:
            if (buf.size() < 10)
                return 0;
            request(session, buf);
            return 10;
        case 0x00:
            acknowledged(session);
            return 1;
        case 0x0A:
            m_scans.remove(session.id());
            return 1;
        default:
            return -1;
        }
    }

    void sessionClosed(sim::Session &session) override { m_scans.remove(session.id()); }

private:
    enum Fault { NoFault, WrongLength, BadColumn, Silence, Drop, LastFirst };

    struct Scan {
        int x = 0, y = 0, w = 0, h = 0;
        int sent = 0; // columns sent so far
        bool silent = false;
        quint8 raise = 0; // added to every pixel (--screen-changes)
    };

    void fillPattern() {
        const int bw = m_width / 32;
        const int bh = kHeight / 16;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const int bx = qMin(x / bw, 31);
                const int by = qMin(y / bh, 15);
                int v = by < 8 ? bx + 32 * by : 8 * bx + (by - 8);
                if (x == 0 || y == 0 || x == m_width - 1 || y == kHeight - 1)
                    v = 0xFF;
                m_screen[y * m_width + x] = char(v);
            }
        }
    }

    void dumpScreen() {
        if (m_dumped)
            return;
        m_dumped = true;
        QFile f(QDir(sim::stateDir()).filePath(QStringLiteral("screen.raw")));
        if (f.open(QIODevice::WriteOnly))
            f.write(m_screen);
    }

    static int le16(const QByteArray &b, int at) { return quint8(b[at]) | quint8(b[at + 1]) << 8; }

    void request(sim::Session &session, const QByteArray &buf) {
        dumpScreen();
        m_scans.remove(session.id());
        Scan s;
        s.x = le16(buf, 1);
        s.y = le16(buf, 3);
        s.w = le16(buf, 5);
        s.h = le16(buf, 7);
        if (m_changes)
            s.raise = quint8(m_requests);
        ++m_requests;
        quint8 status = 0;
        if (m_refuse)
            status = m_refuse;
        else if (s.w == 0 || s.h == 0)
            status = kEmptyArea;
        else if (s.x + s.w > m_width || s.y + s.h > kHeight)
            status = kOffScreen;
        session.reply(sim::le32(status));
        if (status == 0)
            m_scans.insert(session.id(), s);
    }

    void acknowledged(sim::Session &session) {
        auto it = m_scans.find(session.id());
        if (it == m_scans.end())
            return; // no scan running: nothing to send
        Scan &s = *it;
        const int total = m_fault == LastFirst ? 1 : s.w;
        if (s.silent)
            return;
        if (s.sent >= total) { // the acknowledgement of the last column
            m_scans.erase(it);
            return;
        }
        int c = m_fault == LastFirst ? s.w - 1 : s.sent;
        const int p = (s.h + 2 + 3) / 4 * 4;
        int length = p;
        if (s.sent == m_faultAt) {
            switch (m_fault) {
            case WrongLength: length = p + 4; break;
            case BadColumn: c = s.w; break;
            case Silence: s.silent = true; return;
            case Drop: m_scans.erase(it); session.close(); return;
            default: break;
            }
        }
        QByteArray payload(length, '\0');
        payload[0] = char(c & 0xFF);
        payload[1] = char((c >> 8) & 0xFF);
        const int sx = qMin(s.x + c, m_width - 1); // a bad index still reads the screen
        for (int r = 0; r < s.h; ++r)
            payload[2 + r] = char(quint8(m_screen[(s.y + r) * m_width + sx]) + s.raise);
        ++s.sent;
        session.reply(payload);
    }

    int m_width = 800;
    QByteArray m_screen;
    bool m_dumped = false;
    quint8 m_refuse = 0;
    bool m_changes = false;
    int m_requests = 0; // scan requests so far
    int m_fault = NoFault;
    int m_faultAt = 0;
    QHash<int, Scan> m_scans;
};

} // namespace

SIM_REGISTER_FEATURE(ScreenFeature)
