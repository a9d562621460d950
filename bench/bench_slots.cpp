// Time for reading, writing and clearing all 63 memory slots against
// lmk-sim over WLAN (loopback TCP) and the simulated USB library, with the
// widget-free operation alone (no page). Prints one line per run.
//
//   bench_slots [rounds]
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "link/DeviceLink.h"
#include "memory/MemorySlots.h"
#include "memory/SlotTransferOperation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>

using namespace lmk;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 5;
    ScriptedDialogs dialogs;
    dialogs.defaultAnswer = true;
    QTextStream out(stdout);
    for (const QString transport : {QStringLiteral("wlan"), QStringLiteral("usb")}) {
        SimProcess sim;
        if (!sim.start()) {
            out << "cannot start lmk-sim\n";
            return 1;
        }
        DeviceLink link;
        if (transport == QLatin1String("usb")) {
            sim.useUsb();
            if (link.openUsb() == 0) {
                out << "cannot open the simulated USB library\n";
                return 1;
            }
        } else {
            SimProcess::noUsb();
            link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
            link.setWlanChecked(true);
        }
        MemorySlots store(link);
        SlotTransferOperation op(store);
        for (auto kind : {SlotTransferOperation::Kind::Read, SlotTransferOperation::Kind::Write,
                          SlotTransferOperation::Kind::Clear}) {
            QList<qint64> us;
            for (int i = 0; i < rounds; ++i) {
                QElapsedTimer t;
                t.start();
                const auto outcome = op.run(kind);
                us << t.nsecsElapsed() / 1000;
                if (outcome != SlotTransferOperation::Outcome::Done) {
                    out << "run failed: " << int(outcome) << "\n";
                    return 1;
                }
            }
            if (kind == SlotTransferOperation::Kind::Read) { // the records really arrived
                QFile f(sim.stateDir() + QStringLiteral("/slots.bin"));
                if (!f.open(QIODevice::ReadOnly) || f.readAll() != store.image().data()) {
                    out << "read gave other records than the simulator holds\n";
                    return 1;
                }
            }
            std::sort(us.begin(), us.end());
            static const char *names[] = {"read", "write", "clear"};
            out << transport << ' ' << names[int(kind)] << " 63 slots: median "
                << us[us.size() / 2] / 1000.0 << " ms, best " << us.first() / 1000.0 << " ms ("
                << rounds << " rounds)\n";
            out.flush();
        }
        SimProcess::noUsb();
    }
    return 0;
}
