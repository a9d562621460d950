// lmkctl scan: the "Display Copy" page's scan into a PNG or BMP file, once
// or as a numbered series of captures.
#include "ctl/CtlCommands.h"
#include "ctl/CtlFiles.h"

#include "ctl/ScanOutput.h"
#include "display/CaptureFacts.h"
#include "display/CaptureNames.h"
#include "display/PictureFile.h"
#include "display/ScanArea.h"
#include "display/ScanCodec.h"
#include "display/ScanOperation.h"
#include "display/picture/PictureExport.h"
#include "link/Wait.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

namespace lmk::ctl {

namespace {

// The window's picture and its frame colour.
constexpr int kFramedWidth = 810;
constexpr int kFramedHeight = 490;
const QRgb kFrameColour = qRgb(0, 0, 0);

std::optional<ScanPreset> presetByName(const QString &name) {
    if (name == QLatin1String("full-vga"))
        return ScanPreset::FullVga;
    if (name == QLatin1String("full-wvga"))
        return ScanPreset::FullWvga;
    if (name == QLatin1String("diagram-vga"))
        return ScanPreset::DiagramVga;
    if (name == QLatin1String("diagram-wvga"))
        return ScanPreset::DiagramWvga;
    return std::nullopt;
}

// "X,Y,W,H" on the 800 x 480 screen, at least one pixel.
std::optional<AreaValues> areaFromText(const QString &text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || v[i] < 0)
            return std::nullopt;
    }
    const AreaValues a{v[0], v[1], v[2], v[3]};
    if (a.w < 1 || a.h < 1 || a.x > kMaxX || a.y > kMaxY || a.x + a.w > kWvgaWidth ||
        a.y + a.h > kScreenHeight)
        return std::nullopt;
    return a;
}

// The area's picture, exactly W x H pixels or framed as in the window.
QImage emptyPicture(const AreaValues &values, bool framed) {
    QImage picture = framed ? QImage(kFramedWidth, kFramedHeight, QImage::Format_RGB888)
                            : QImage(values.w, values.h, QImage::Format_RGB888);
    picture.fill(kFrameColour);
    return picture;
}

// The picture on standard output; "" or why not.
QString writePictureToStdout(const std::function<QString(QIODevice &)> &encode) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (const QString error = encode(buffer); !error.isEmpty())
        return error;
    return writeOutput(QStringLiteral("-"), bytes);
}

} // namespace

int runScan(Context &ctx, const QCommandLineParser &p) {
    bool countOk = false, intervalOk = false, scaleOk = false;
    const int count = p.value(QStringLiteral("count")).toInt(&countOk);
    const double interval = p.value(QStringLiteral("interval")).toDouble(&intervalOk);
    const int scale = p.value(QStringLiteral("scale")).toInt(&scaleOk);
    const bool clipboard = p.isSet(QStringLiteral("clipboard"));
    const bool json = p.isSet(QStringLiteral("json"));
    const bool overwrite = p.isSet(QStringLiteral("overwrite"));
    if (!p.positionalArguments().isEmpty())
        return ctx.usageError(QStringLiteral("takes no arguments; the file comes with -o FILE"));
    if (!p.isSet(QStringLiteral("output")) && !clipboard)
        return ctx.usageError(QStringLiteral("-o FILE (or --clipboard) is missing"));
    if (p.isSet(QStringLiteral("preset")) && p.isSet(QStringLiteral("area")))
        return ctx.usageError(QStringLiteral("--preset and --area name the area twice; give one"));
    if (!countOk || count < 0)
        return ctx.usageError(QStringLiteral("--count needs a number of 0 or more"));
    if (!intervalOk || interval < 0 || interval > 86400)
        return ctx.usageError(QStringLiteral("--interval needs a number of seconds from 0 to 86400"));
    if (!scaleOk || scale < kMinPictureScale || scale > kMaxPictureScale)
        return ctx.usageError(QStringLiteral("--scale needs a whole number from 1 to 4"));
    if (clipboard && count != 1)
        return ctx.usageError(QStringLiteral("--clipboard takes one capture (no --count)"));
    if (clipboard && !clipboardAvailable()) {
        ctx.err << "lmkctl scan: --clipboard needs a display (DISPLAY or WAYLAND_DISPLAY); "
                   "nothing was scanned"
                << Qt::endl;
        return ExitUsage;
    }
    const QString pattern = p.value(QStringLiteral("output"));
    const bool toFile = !pattern.isEmpty();
    const bool toStdout = isStandardStream(pattern);
    const bool single = count == 1 && !hasNumberForm(pattern);
    const QString suffix = p.isSet(QStringLiteral("format"))
                               ? p.value(QStringLiteral("format")).toLower()
                               : QFileInfo(pattern).suffix().toLower();
    if (toFile && suffix != QLatin1String("png") && suffix != QLatin1String("bmp"))
        return ctx.usageError(toStdout || p.isSet(QStringLiteral("format"))
                                  ? QStringLiteral("--format must be png or bmp")
                                  : QStringLiteral("the file must end in .png or .bmp"));
    if (toStdout && count != 1)
        return ctx.usageError(QStringLiteral("-o - (standard output) takes one capture"));
    // The name of capture n, taken when it starts.
    const auto pathFor = [&](int n, const QDateTime &time) {
        return single ? expandCaptureName(pattern, n, time) : seriesCaptureName(pattern, n, time);
    };
    // An output that cannot be written is found before anything is sent.
    if (toFile && !toStdout) {
        const QString first = pathFor(1, QDateTime::currentDateTime());
        if (const QString problem = outputProblem(first); !problem.isEmpty()) {
            ctx.error(QStringLiteral("Cannot create file \"%1\": %2; nothing was scanned.")
                          .arg(first, problem));
            return ExitUsage;
        }
    }

    ScanArea area; // the window's area: full WVGA until told otherwise
    if (p.isSet(QStringLiteral("preset"))) {
        const auto preset = presetByName(p.value(QStringLiteral("preset")));
        if (!preset)
            return ctx.usageError(QStringLiteral("unknown preset %1 (full-vga, full-wvga, diagram-vga, "
                                                 "diagram-wvga)")
                                      .arg(p.value(QStringLiteral("preset"))));
        area.applyPreset(*preset);
    } else if (p.isSet(QStringLiteral("area"))) {
        const auto a = areaFromText(p.value(QStringLiteral("area")));
        if (!a)
            return ctx.usageError(QStringLiteral("--area needs X,Y,W,H with W, H at least 1 and the "
                                                 "rectangle on the 800 x 480 screen"));
        // Through the window's rules, in an order in which none of them yields.
        area.setW(1);
        area.setH(1);
        area.setX(a->x);
        area.setY(a->y);
        area.setW(a->w);
        area.setH(a->h);
    }
    const AreaValues values = area.values();
    const bool framed = p.isSet(QStringLiteral("framed"));

    if (!ctx.connect())
        return ExitNoConnection;

    QImage picture;
    const int offset = framed ? kFrameBand : 0;
    ScanOperation scan(ctx.link);
    QObject::connect(&scan, &ScanOperation::columnReceived,
                     [&](int c, const quint8 *rgb, int h) {
                         const int x = c + offset;
                         if (x < 0 || x >= picture.width())
                             return;
                         const int rows = qMin(h, picture.height() - offset);
                         const qsizetype stride = picture.bytesPerLine();
                         uchar *px = picture.bits() + offset * stride + 3 * x;
                         for (int r = 0; r < rows; ++r, px += stride, rgb += 3) {
                             px[0] = rgb[0];
                             px[1] = rgb[1];
                             px[2] = rgb[2];
                         }
                     });
    QString label = QStringLiteral("scan");
    QObject::connect(&scan, &ScanOperation::counterChanged, [&](const QString &text) {
        if (!text.isEmpty())
            ctx.progress(label, text.toInt(), values.w, ProgressUnit::Columns);
    });

    // A stop (Ctrl+C, SIGTERM, SIGHUP) aborts the running scan with the abort
    // byte (the exchange's stop) and keeps the files written.
    const QString receiver = receiverVersionText(ctx.link);
    const QString program =
        QStringLiteral("lmkctl %1").arg(QCoreApplication::applicationVersion()).trimmed();
    int written = 0;
    QElapsedTimer sinceStart;
    for (int n = 1; count == 0 || n <= count; ++n) {
        if (n > 1) {
            const qint64 waitMs = qint64(interval * 1000);
            waitWhile([&] { return !ctx.stopping() && sinceStart.elapsed() < waitMs; });
        }
        if (ctx.stopping())
            break;
        sinceStart.start();
        const QDateTime started = QDateTime::currentDateTime();
        const QString path = toFile ? pathFor(n, started) : QString();
        // A series never replaces a file: it stops before the capture.
        if (toFile && !single && !overwrite && QFileInfo::exists(path)) {
            ctx.error(QStringLiteral("%1 exists; the series stops before capture %2 (--overwrite "
                                     "replaces files).")
                          .arg(path)
                          .arg(n));
            return ExitUsage;
        }
        if (!single)
            label = QStringLiteral("scan %1").arg(n);
        picture = emptyPicture(values, framed);
        const ScanOutcome outcome = scan.run(values);
        ctx.endProgress();
        if (ctx.stopping())
            break; // the capture was aborted: no file for it
        const QString text = QString::fromLatin1(outcome.statusText);
        if (!outcome.sent) {
            ctx.error(text);
            return ExitNoConnection;
        }
        if (outcome.end == ScanEnd::Refused) {
            ctx.error(QStringLiteral("%1 The receiver refused the scan, %2.")
                          .arg(text, scanRefusalText(outcome.refusalCode)));
            return ExitRefused;
        }
        if (outcome.end != ScanEnd::Complete)
            return ctx.fail(text, outcome.end == ScanEnd::Timeout    ? ExchangeEnd::Timeout
                                  : outcome.end == ScanEnd::LinkLost ? ExchangeEnd::LinkLost
                                                                     : ExchangeEnd::Unexpected);

        const QImage out = scaledPicture(picture, scale);
        const CaptureFacts facts{receiver, values, started, program};
        if (toFile) {
            const auto encode = [&](QIODevice &file) {
                return writePicture(file, out, suffix.toLatin1(), facts);
            };
            const QString error = toStdout ? writePictureToStdout(encode) : writeWholeFile(path, encode);
            if (!error.isEmpty()) {
                ctx.error(toStdout ? error
                                   : QStringLiteral("Cannot create file \"%1\". %2").arg(path, error));
                return ExitUsage;
            }
            ++written;
        }
        if (ctx.stopping())
            break; // standard output's reader went away: nothing more to tell
        if (clipboard)
            putOnClipboard(out);
        ctx.note(text);
        if (json) {
            QJsonObject o{{QStringLiteral("width"), out.width()},
                          {QStringLiteral("height"), out.height()},
                          {QStringLiteral("area"),
                           QJsonObject{{QStringLiteral("x"), values.x},
                                       {QStringLiteral("y"), values.y},
                                       {QStringLiteral("w"), values.w},
                                       {QStringLiteral("h"), values.h}}},
                          {QStringLiteral("time"), captureTimeIso(started)},
                          {QStringLiteral("program"), program},
                          {QStringLiteral("scale"), scale},
                          {QStringLiteral("clipboard"), clipboard}};
            o.insert(QStringLiteral("file"), toFile ? QJsonValue(path) : QJsonValue());
            o.insert(QStringLiteral("receiver"), receiver.isEmpty() ? QJsonValue() : QJsonValue(receiver));
            (toStdout ? ctx.err : ctx.out) << QJsonDocument(o).toJson(QJsonDocument::Compact) << Qt::endl;
        } else {
            (toStdout ? ctx.err : ctx.out) << (toFile ? path : QStringLiteral("clipboard")) << ": " << out.width() << " x "
                    << out.height() << " pixels, area " << areaText(values) << Qt::endl;
        }
    }
    if (ctx.stopping())
        return ctx.stopped(QStringLiteral("Interrupted; %1 %2 written.")
                               .arg(written)
                               .arg(written == 1 ? QStringLiteral("file") : QStringLiteral("files")));
    return ExitDone;
}

} // namespace lmk::ctl
