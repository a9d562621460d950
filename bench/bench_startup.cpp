// Start-up and discovery times of the main window against the simulator:
// FormCreate with no receiver, with an access point that takes no
// connection, over WLAN and over USB (bootloader and configuration active),
// and "Find WLAN Connection". Prints the median of a few runs and the
// number of requests the receiver saw.
#include "../tests/app/WindowFixture.h"
#include "link/Wait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>

using namespace lmk;

namespace {
struct Figure {
    QList<qint64> ms;
    qsizetype requests = 0;
};

qint64 median(QList<qint64> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

Figure startup(const QStringList &options, Transport t, bool stalled, int runs) {
    Figure fig;
    for (int i = 0; i < runs; ++i) {
        WindowFixture f;
        if (!f.start(options, t))
            qFatal("simulator did not start");
        std::unique_ptr<StalledAccessPoint> ap;
        if (stalled) {
            ap = std::make_unique<StalledAccessPoint>();
            f.link->setEndpoint(QStringLiteral("127.0.0.1"), ap->port());
        }
        QElapsedTimer timer;
        timer.start();
        f.window->FormCreate();
        fig.ms << timer.elapsed();
        lmk::waitWhile([] { return true; }, 200);
        fig.requests = f.sim().requests().size();
    }
    return fig;
}

Figure findWlan(int runs) {
    Figure fig;
    WindowFixture f;
    if (!f.start({QStringLiteral("--mode"), QStringLiteral("none")}, Transport::Wlan))
        qFatal("simulator did not start");
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f.window->MI_WLANClick();
        fig.ms << timer.elapsed();
    }
    fig.requests = f.sim().requests().size();
    return fig;
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int runs = 5;
    const QStringList boot{QStringLiteral("--mode"), QStringLiteral("boot")};
    const QStringList config{QStringLiteral("--mode"), QStringLiteral("config")};
    struct Case {
        const char *name;
        QStringList options;
        Transport transport;
        bool stalled;
    };
    const QList<Case> cases{
        {"FormCreate, no receiver (refused)", {}, Transport::None, false},
        {"FormCreate, access point silent", {}, Transport::None, true},
        {"FormCreate, WLAN, bootloader", boot, Transport::Wlan, false},
        {"FormCreate, WLAN, configuration", config, Transport::Wlan, false},
        {"FormCreate, USB, bootloader", boot, Transport::Usb, false},
        {"FormCreate, USB, configuration", config, Transport::Usb, false},
    };
    out << "case | median ms | min ms | max ms | requests seen by the receiver (last run)\n";
    for (const Case &c : cases) {
        const Figure f = startup(c.options, c.transport, c.stalled, runs);
        out << c.name << " | " << median(f.ms) << " | "
            << *std::min_element(f.ms.begin(), f.ms.end()) << " | "
            << *std::max_element(f.ms.begin(), f.ms.end()) << " | " << f.requests << "\n";
        out.flush();
    }
    const Figure w = findWlan(runs);
    out << "Find WLAN Connection, connected | " << median(w.ms) << " | "
        << *std::min_element(w.ms.begin(), w.ms.end()) << " | "
        << *std::max_element(w.ms.begin(), w.ms.end()) << " | " << w.requests << "\n";
    return 0;
}
