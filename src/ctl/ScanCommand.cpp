// lmkctl scan: the "Display Copy" page's scan into a PNG or BMP file.
#include "ctl/CtlCommands.h"

#include "display/ScanArea.h"
#include "display/ScanCodec.h"
#include "display/ScanOperation.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

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

} // namespace

int runScan(Context &ctx, const QStringList &args) {
    QCommandLineParser p;
    p.addOption({QStringLiteral("preset"),
                 QStringLiteral("full-vga, full-wvga (default), diagram-vga or diagram-wvga"),
                 QStringLiteral("name")});
    p.addOption({QStringLiteral("area"),
                 QStringLiteral("the rectangle X,Y,W,H on the 800 x 480 screen"),
                 QStringLiteral("X,Y,W,H")});
    p.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                 QStringLiteral("the picture file; .png or .bmp"), QStringLiteral("file")});
    p.addOption({QStringLiteral("framed"),
                 QStringLiteral("write the window's 810 x 490 picture (the area at 5,5 in a "
                                "black frame) instead of exactly W x H pixels")});
    if (int rc = parseCommand(
            ctx, p, args,
            QStringLiteral("Copies the receiver's screen, or a rectangle of it, into a PNG or BMP "
                           "file (by the file's extension).\n"
                           "Presets: full-vga 0,0,640,480  full-wvga 0,0,800,480  "
                           "diagram-vga 0,93,520,387  diagram-wvga 0,93,648,387"));
        rc >= 0)
        return rc;
    if (!p.positionalArguments().isEmpty() || !p.isSet(QStringLiteral("output")) ||
        (p.isSet(QStringLiteral("preset")) && p.isSet(QStringLiteral("area")))) {
        ctx.err << "lmkctl scan: expected [--preset NAME | --area X,Y,W,H] -o FILE [--framed]"
                << Qt::endl;
        return ExitUsage;
    }
    const QString path = p.value(QStringLiteral("output"));
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("bmp")) {
        ctx.err << "lmkctl scan: the file must end in .png or .bmp" << Qt::endl;
        return ExitUsage;
    }

    ScanArea area; // the window's area: full WVGA until told otherwise
    if (p.isSet(QStringLiteral("preset"))) {
        const auto preset = presetByName(p.value(QStringLiteral("preset")));
        if (!preset) {
            ctx.err << "lmkctl scan: unknown preset " << p.value(QStringLiteral("preset"))
                    << " (full-vga, full-wvga, diagram-vga, diagram-wvga)" << Qt::endl;
            return ExitUsage;
        }
        area.applyPreset(*preset);
    } else if (p.isSet(QStringLiteral("area"))) {
        const auto a = areaFromText(p.value(QStringLiteral("area")));
        if (!a) {
            ctx.err << "lmkctl scan: --area needs X,Y,W,H with W, H at least 1 and the "
                       "rectangle on the 800 x 480 screen"
                    << Qt::endl;
            return ExitUsage;
        }
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

    QImage picture = framed ? QImage(kFramedWidth, kFramedHeight, QImage::Format_RGB888)
                            : QImage(values.w, values.h, QImage::Format_RGB888);
    picture.fill(kFrameColour);
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
    QObject::connect(&scan, &ScanOperation::progressChanged,
                     [&](int position) { ctx.progress(QStringLiteral("scan"), position, 100); });
    ctx.link.setStatusText({});
    const ScanOutcome outcome = scan.run(values);
    ctx.endProgress();
    const QString text = QString::fromLatin1(outcome.statusText);
    if (!outcome.sent) {
        ctx.err << text << Qt::endl;
        return ExitNoConnection;
    }
    if (outcome.pendingRequest != 0 || text != QLatin1String(kAllDataReceivedText))
        return ctx.fail(text);

    QSaveFile file(path);
    QString error;
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
    } else {
        QImageWriter writer(&file, suffix.toLatin1());
        if (!writer.write(picture))
            error = writer.errorString();
        else if (!file.commit())
            error = file.errorString();
    }
    if (!error.isEmpty()) {
        ctx.err << QStringLiteral("Cannot create file \"%1\". %2").arg(path, error) << Qt::endl;
        return ExitUsage;
    }
    ctx.err << text << Qt::endl;
    ctx.out << path << ": " << picture.width() << " x " << picture.height() << " pixels, area "
            << values.x << ',' << values.y << ',' << values.w << ',' << values.h << Qt::endl;
    return ExitDone;
}

} // namespace lmk::ctl
