// Pictures of the window for the README: each page in each language, taken
// from the real window working against the simulator, saved as PNGs.
//
//   lmk-screenshots OUTPUT_FOLDER
//
// Settings go to Qt's test folders, never the user's own.
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "app/TFMain.h"
#include "app/UiLanguage.h"
#include "app/VisualStyle.h"
#include "display/ui/DisplayPage.h"
#include "link/DeviceLink.h"
#include "memory/ui/MemoryEditor.h"
#include "upload/ui/UpdatePage.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

using namespace lmk;

namespace {
void settle(int ms = 300) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget *w, const QString &path) {
    settle();
    // Flat colours: an RGB PNG at the strongest compression stays small.
    const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB888);
    const bool ok = img.save(path, "PNG", 0);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}
} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: lmk-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setFont(TFMain::defaultFont());
    applyVisualStyle(app, QString::fromLatin1(kVisualStyle));

    SimProcess sim;
    if (!sim.start({QStringLiteral("--mode"), QStringLiteral("config")})) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }
    ScriptedDialogs dialogs; // messages are recorded, not shown
    DeviceLink link;
    link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
    TFMain window(link);
    window.show();
    window.FormCreate();
    settle(500);
    // Some content on each page: the receiver's tasks, a copy of its screen.
    window.showPage(0);
    window.updatePage()->B_SearchClick();
    window.showPage(1);
    window.displayPage()->B_DispcpyClick();

    bool ok = true;
    const std::pair<Language, const char *> languages[] = {{Language::Specified, "original"},
                                                           {Language::English, "en"},
                                                           {Language::German, "de"}};
    const char *pages[] = {"update", "display", "terminal"};
    for (const auto &[language, code] : languages) {
        UiLanguage::instance().setLanguage(language);
        for (int page = 0; page < 3; ++page) {
            window.showPage(page);
            ok &= save(&window, out.filePath(QStringLiteral("%1-%2.png").arg(
                                    QLatin1String(pages[page]), QLatin1String(code))));
        }
        window.MI_MemorySlotsClick();
        ok &= save(window.memoryEditor(),
                   out.filePath(QStringLiteral("memory-%1.png").arg(QLatin1String(code))));
        window.memoryEditor()->hide();
    }
    UiLanguage::instance().setLanguage(Language::Specified);
    window.close();
    return ok ? 0 : 1;
}
