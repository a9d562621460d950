#pragma once
// Starts lmk-sim as a real process on a free loopback port for one test
// fixture, and gives access to what it logged and stored.
//
//   SimProcess sim;
//   QVERIFY(sim.start({"--mode", "boot"}));
//   link.setEndpoint("127.0.0.1", sim.port());  // WLAN
//   sim.useUsb();                               // USB: LMK_USB_LIBRARY + LMK_SIM_USB
//   ...
//   QCOMPARE(sim.requests("wlan").last(), QByteArray::fromHex("12"));

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace lmk {

class SimProcess {
public:
    SimProcess();
    ~SimProcess();

    // Starts the simulator with extra options; waits until it listens.
    bool start(const QStringList &options = {});
    void stop();
    bool isRunning() const;

    quint16 port() const { return m_port; }
    QString usbSocketPath() const;
    // The state folder the simulator writes into (uploads, slots, settings).
    QString stateDir() const;
    // Points the process environment at the simulated USB library and this
    // simulator's USB socket, so that DeviceLink::openUsb() finds it.
    void useUsb() const;
    // Removes LMK_USB_LIBRARY and LMK_SIM_USB again.
    static void noUsb();

    // Sends one command to a simulator started with --control ("fault RULE",
    // "clear", "ping") and waits until it took effect; false when the
    // simulator refused it or did not answer within 5 s.
    bool control(const QString &command);

    // Requests received so far, in order, on "wlan" or "usb" (all when empty).
    QList<QByteArray> requests(const QString &transport = QString()) const;
    // Raw log lines.
    QStringList logLines() const;
    QString standardError() const;
    // After stop(): whether the simulator ended by itself with exit code 0
    // (it handles SIGTERM by flushing its log and leaving its event loop).
    bool exitedCleanly() const;

private:
    QTemporaryDir m_dir;
    QProcess m_proc;
    quint16 m_port = 0;
    QByteArray m_out; // standard output not read yet
};

} // namespace lmk
