// The "USB Terminal" page against a real lmk-sim over the simulated USB
// library: the access-point answer fills the form, "Set!" changes the
// simulator's settings, a typed line reaches it and its answer is shown.
#include "OwnSettings.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "link/DeviceLink.h"
#include "link/ReplyDispatcher.h"
#include "terminal/TerminalFrames.h"
#include "terminal/TerminalSession.h"
#include "terminal/ui/TerminalPage.h"
#include "app/TFMain.h"

#include <QCheckBox>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include "terminal/ui/ChatMemo.h"
#include <QTcpSocket>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace lmk;

namespace {
const QByteArray kEnter = QByteArray::fromHex("0d01");
const QByteArray kLeave = QByteArray::fromHex("0d00");

struct Rig {
    ScriptedDialogs dialogs;
    SimProcess sim;
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<TerminalPage> page;
    QPlainTextEdit *chat = nullptr;
    QLineEdit *ssid = nullptr;
    QLineEdit *pass = nullptr;
    QSpinBox *channel = nullptr;
    QSpinBox *power = nullptr;
    QPushButton *set = nullptr;

    bool start(const QStringList &options = {}) {
        if (!sim.start(options))
            return false;
        sim.useUsb();
        link = std::make_unique<DeviceLink>();
        if (link->openUsb() == 0)
            return false;
        page = std::make_unique<TerminalPage>(*link);
        chat = page->findChild<QPlainTextEdit *>("M_Chat");
        ssid = page->findChild<QLineEdit *>("E_SSID");
        pass = page->findChild<QLineEdit *>("E_Pass");
        channel = page->findChild<QSpinBox *>("SE_Channel");
        power = page->findChild<QSpinBox *>("SE_Power");
        set = page->findChild<QPushButton *>("B_Set");
        return true;
    }
    // What the window's page change does when "USB Terminal" is selected.
    void enterPage() {
        page->clearChat();
        page->expectApSettings(true);
        page->enableSet();
        link->setTerminalMode(true); // 0D 01
    }
    void leavePage() {
        page->clearChat();
        page->expectApSettings(false);
        link->setTerminalMode(false); // 0D 00
    }
    QByteArray savedSettings() const {
        QFile f(sim.stateDir() + QStringLiteral("/accesspoint.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
} // namespace

class TstTerminalSim : public QObject {
    Q_OBJECT
    // The page's choices and sent lines: this process's own settings.
    OwnSettings m_settings;
    QTemporaryDir m_dir;

private slots:
    void cleanup() { SimProcess::noUsb(); }

    void enteringFillsForm_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("power");
        QTest::addColumn<QStringList>("messages"); // what the form says and "Set!" refuses with
        const QStringList values{"--ap-ssid", "Rx54-Kitch", "--ap-channel", "9", "--ap-power", "17"};
        QTest::newRow("one frame") << values << 9 << 17 << QStringList{};
        QTest::newRow("seven frames") << values + QStringList{"--ap-split", "7"} << 9 << 17
                                      << QStringList{};
        QTest::newRow("fifty frames") << values + QStringList{"--ap-split", "50"} << 9 << 17
                                      << QStringList{};
        // The answer cut into two frames at every byte: the form is filled
        // only once the 8th line has its line break, never from a part of
        // a value.
        const int answerSize = 87; // SSID:\r\nRx54-Kitch\r\n ... 17\r\n
        for (int cut = 1; cut < answerSize; ++cut)
            QTest::addRow("cut after byte %d", cut)
                << values + QStringList{"--ap-cut", QString::number(cut)} << 9 << 17
                << QStringList{};
        QTest::newRow("channel 13, power abc")
            << QStringList{"--ap-ssid", "Rx54-Kitch", "--ap-channel", "13", "--ap-power", "abc"}
            << 0 << 0
            << QStringList{QString::fromLatin1(kChannelUnusableText).arg("13"),
                           QString::fromLatin1(kPowerUnusableText).arg("abc")};
    }
    void enteringFillsForm() {
        QFETCH(QStringList, options);
        QFETCH(int, channel);
        QFETCH(int, power);
        QFETCH(QStringList, messages);
        Rig r;
        QVERIFY(r.start(options));
        r.enterPage();
        QTRY_VERIFY_WITH_TIMEOUT(!r.page->apSettingsExpected(), 3000);
        QCOMPARE(r.ssid->text(), QStringLiteral("Rx54-Kitch"));
        QCOMPARE(r.pass->text(), QStringLiteral("lmk-passkey-0123456789"));
        QCOMPARE(r.channel->value(), channel);
        QCOMPARE(r.power->value(), power);
        QCOMPARE(r.chat->toPlainText(), QString());
        QVERIFY(r.set->isEnabled());
        QCOMPARE(r.page->findChild<QLabel *>("L_ApValues")->text(), messages.join('\n'));
        QTRY_COMPARE_WITH_TIMEOUT(r.sim.requests("usb"), QList<QByteArray>{kEnter}, 2000);
        QVERIFY(r.dialogs.texts.isEmpty());
        if (messages.isEmpty())
            return;
        // "Set!" does not write the 0s the spin edits happen to hold.
        r.page->B_SetClick();
        QCOMPARE(r.dialogs.texts, messages);
        QTest::qWait(100);
        QCOMPARE(r.sim.requests("usb"), QList<QByteArray>{kEnter});
    }

    void setChangesSimulatorSettings() {
        Rig r;
        QVERIFY(r.start());
        r.enterPage();
        QTRY_VERIFY_WITH_TIMEOUT(!r.page->apSettingsExpected(), 3000);
        r.ssid->setText(QStringLiteral("NewNet-042"));
        r.pass->setText(QStringLiteral("pass-phrase-for-lmk-54"));
        r.channel->setValue(3);
        r.power->setValue(19);
        QTest::mouseClick(r.set, Qt::LeftButton);
        QVERIFY(r.dialogs.texts.isEmpty());
        QVERIFY(!r.set->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(r.savedSettings(),
                                  QByteArray("ssid=NewNet-042\npasskey=pass-phrase-for-lmk-54\n"
                                             "channel=3\npower=19\n"),
                                  3000);
        const QList<QByteArray> usb = r.sim.requests("usb");
        QCOMPARE(usb.size(), 2);
        QCOMPARE(usb[1], apConfigFrame({"NewNet-042", "pass-phrase-for-lmk-54", "3", "19"}));
        // The module's answers appear in the memo; the acknowledgement does not.
        QTRY_VERIFY_WITH_TIMEOUT(r.chat->toPlainText().contains("Saved"), 3000);
        QVERIFY(!r.chat->toPlainText().contains(QChar(0)));

        // The next visit shows the new settings and allows "Set!" again.
        r.leavePage();
        r.ssid->clear();
        r.enterPage();
        QTRY_COMPARE_WITH_TIMEOUT(r.ssid->text(), QStringLiteral("NewNet-042"), 3000);
        QCOMPARE(r.pass->text(), QStringLiteral("pass-phrase-for-lmk-54"));
        QCOMPARE(r.channel->value(), 3);
        QCOMPARE(r.power->value(), 19);
        QVERIFY(r.set->isEnabled());
    }

    void typedLineAndAnswer() {
        Rig r;
        QVERIFY(r.start({"--ap-silent"}));
        r.enterPage();
        r.page->show();
        QTest::keyClicks(r.chat, QStringLiteral("ver"));
        QTest::keyClick(r.chat, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(r.chat->toPlainText(), QStringLiteral("ver\nLMK540 V103\n"),
                                  3000);
        const QList<QByteArray> usb = r.sim.requests("usb");
        QCOMPARE(usb, (QList<QByteArray>{kEnter, QByteArray::fromHex("19057665720d0a000000")}));
        // An unknown command and an empty line.
        QTest::keyClicks(r.chat, QStringLiteral("xyz"));
        QTest::keyClick(r.chat, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(r.chat->toPlainText().endsWith("Unknown command: xyz\n"), 3000);
        QTest::keyClick(r.chat, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(r.sim.requests("usb").size(), 4, 3000);
        QCOMPARE(r.sim.requests("usb").last(), QByteArray::fromHex("19020d0a00"));
        QVERIFY(r.dialogs.texts.isEmpty());
    }

    void windowPageChange() {
        ScriptedDialogs dialogs;
        SimProcess sim;
        QVERIFY(sim.start({"--ap-split", "4", "--ap-ssid", "Window-Net"}));
        sim.useUsb();
        DeviceLink link;
        TFMain w(link);
        QVERIFY(link.openUsb() != 0);
        auto *ssid = w.findChild<QLineEdit *>("E_SSID");
        auto *chat = w.findChild<QPlainTextEdit *>("M_Chat");
        auto *set = w.findChild<QPushButton *>("B_Set");
        QVERIFY(ssid && chat && set);
        w.show();
        w.showPage(kPageTerminal);
        QTRY_COMPARE_WITH_TIMEOUT(ssid->text(), QStringLiteral("Window-Net"), 3000);
        QCOMPARE(chat->toPlainText(), QString());
        QVERIFY(set->isEnabled());
        // A line typed on the page reaches the receiver and its answer shows.
        chat->setFocus();
        QTest::keyClicks(chat, QStringLiteral("ver"));
        QTest::keyClick(chat, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(chat->toPlainText(), QStringLiteral("ver\nLMK540 V103\n"), 3000);
        // Leaving the page ends terminal mode; the memo is emptied.
        w.showPage(kPageUpdate);
        QCOMPARE(chat->toPlainText(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests("usb").last(), kLeave, 3000);
        QCOMPARE(sim.requests("usb").count(kEnter), 1);
        QVERIFY(dialogs.texts.isEmpty());
    }

    // The simulator's terminal over its TCP side, frame by frame: the
    // answer to 0D 01, an acknowledgement and an answer per line (also when
    // the line arrives in pieces), and the configuration frame.
    void simulatorOverWlan() {
        SimProcess sim;
        QVERIFY(sim.start({"--ap-ssid", "Tcp-Side-1"}));
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), sim.port());
        QVERIFY(s.waitForConnected(3000));
        QByteArray in;
        auto nextPayload = [&]() -> QByteArray {
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 3000) {
                if (in.size() >= 4) {
                    const int len = quint8(in[0]) | quint8(in[1]) << 8;
                    if (in.size() >= len) {
                        const QByteArray p = in.mid(4, len - 4);
                        in.remove(0, len);
                        return p;
                    }
                }
                s.waitForReadyRead(100);
                in += s.readAll();
            }
            return "<nothing>";
        };
        // A line outside terminal mode is taken and not answered.
        s.write(*terminalLineFrame("ver"));
        s.write(kEnter);
        QCOMPARE(nextPayload(), QByteArray("SSID:\r\nTcp-Side-1\r\nPasskey:\r\nlmk-passkey-0123456789"
                                           "\r\nChannel:\r\n6\r\nTX-Power (dBm):\r\n12\r\n"));
        const QByteArray ver = *terminalLineFrame("ver");
        s.write(ver.left(3));
        s.flush();
        QTest::qWait(100);
        s.write(ver.mid(3));
        QCOMPARE(nextPayload(), QByteArray(4, '\0'));
        QCOMPARE(nextPayload(), QByteArray("LMK540 V103\r\n"));
        s.write(apConfigFrame({"Tcp-Side-2", "0123456789012345678901", "1", "5"}) +
                *terminalLineFrame("ap"));
        QCOMPARE(nextPayload(), QByteArray(4, '\0'));
        QCOMPARE(nextPayload(), QByteArray("AP OK\r\nAP OK\r\nAP OK\r\nAP OK\r\nSaved\r\n"));
        QCOMPARE(nextPayload(), QByteArray(4, '\0'));
        QCOMPARE(nextPayload(), QByteArray("SSID:\r\nTcp-Side-2\r\nPasskey:\r\n0123456789012345678901"
                                           "\r\nChannel:\r\n1\r\nTX-Power (dBm):\r\n5\r\n"));
        QFile saved(sim.stateDir() + QStringLiteral("/accesspoint.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("ssid=Tcp-Side-2\npasskey=0123456789012345678901\n"
                                             "channel=1\npower=5\n"));
        QCOMPARE(sim.requests("wlan").size(), 5);
    }

    // The same without a window, as lmkctl drives it.
    void sessionWithoutWindow() {
        ScriptedDialogs dialogs;
        SimProcess sim;
        QVERIFY(sim.start({"--ap-split", "3", "--ap-power", "8"}));
        sim.useUsb();
        DeviceLink link;
        {
            TerminalSession t(link);
            QVERIFY(!t.enter()); // no USB yet
            QVERIFY(link.openUsb() != 0);
            QVERIFY(t.enter());
            const auto ap = t.waitForSettings(3000);
            QVERIFY(ap);
            QCOMPARE(*ap, (ApSettings{"LMK5x-0001", "lmk-passkey-0123456789", "6", "8"}));
            QCOMPARE(t.sendLine(QStringLiteral("ver")), QString());
            QCOMPARE(t.takeText(300, 3000), QStringLiteral("LMK540 V103\r\n"));
            QCOMPARE(t.sendLine(QString(254, QLatin1Char('v'))), QString::fromLatin1(kLineTooLongText));
            QCOMPARE(t.sendLine(QStringLiteral("5 €")),
                     QString::fromLatin1(kUnsendableLineText).arg(QStringLiteral("€")));
            QCOMPARE(t.setAccessPoint({"short", "x", "1", "1"}),
                     (QStringList{kSsidLengthText, kPasskeyLengthText}));
            QCOMPARE(t.setAccessPoint({"Session-01", "0123456789012345678901", "11", "0"}),
                     QStringList{});
            QVERIFY(t.takeText(300, 3000).endsWith("Saved\r\n"));
        }
        QVERIFY(!link.terminalMode());
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests("usb").last(), kLeave, 3000);
        QFile saved(sim.stateDir() + QStringLiteral("/accesspoint.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("ssid=Session-01\npasskey=0123456789012345678901\n"
                                             "channel=11\npower=0\n"));
        QVERIFY(dialogs.texts.isEmpty());
    }

    void textAfterLeavingIsNotShown() {
        Rig r;
        QVERIFY(r.start({"--ap-silent"}));
        r.enterPage();
        r.leavePage();
        // Out of terminal mode the receiver takes lines without answering.
        r.link->sendUnasked(*terminalLineFrame("ver"));
        QTRY_COMPARE_WITH_TIMEOUT(r.sim.requests("usb").size(), 3, 3000);
        QTest::qWait(200);
        QCOMPARE(r.chat->toPlainText(), QString());
    }

    // In every view the receiver gets the typed line and nothing else; the
    // log holds the session; a recalled line goes out as the line it was.
    void viewsLogAndRecallOverUsb_data() {
        QTest::addColumn<bool>("timestamps");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<bool>("monospace");
        QTest::newRow("plain") << false << false << false;
        QTest::newRow("timestamps") << true << false << false;
        QTest::newRow("hex") << false << true << false;
        QTest::newRow("all") << true << true << true;
    }
    void viewsLogAndRecallOverUsb() {
        QFETCH(bool, timestamps);
        QFETCH(bool, hex);
        QFETCH(bool, monospace);
        Rig r;
        QVERIFY(r.start({"--ap-silent"}));
        r.enterPage();
        r.page->show();
        r.page->findChild<QCheckBox *>("CB_Timestamps")->setChecked(timestamps);
        r.page->findChild<QCheckBox *>("CB_Hex")->setChecked(hex);
        r.page->findChild<QCheckBox *>("CB_Monospace")->setChecked(monospace);
        const QString log = m_dir.filePath(QStringLiteral("%1.log").arg(QTest::currentDataTag()));
        r.dialogs.files.enqueue(log);
        r.page->B_LogClick();
        QVERIFY(r.page->logging());
        QWidget *w = timestamps || hex ? static_cast<QWidget *>(r.page->findChild<QLineEdit *>("E_Line"))
                                       : r.chat;
        QVERIFY(w->isVisible());
        QTest::keyClicks(w, QStringLiteral("ver"));
        QTest::keyClick(w, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(r.chat->toPlainText().endsWith("LMK540 V103\n"), 3000);
        QTest::keyClicks(w, QStringLiteral("xyz"));
        QTest::keyClick(w, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(r.chat->toPlainText().endsWith("Unknown command: xyz\n"), 3000);
        // Ctrl+Up twice: "ver" again, sent with Enter.
        QTest::keyClick(w, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(r.sim.requests("usb").size(), 4, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(r.chat->toPlainText().count("LMK540 V103"), 2, 3000);
        const QByteArray ver = QByteArray::fromHex("19057665720d0a000000");
        QCOMPARE(r.sim.requests("usb"),
                 (QList<QByteArray>{kEnter, ver, QByteArray::fromHex("190578797a0d0a000000"), ver}));
        r.page->B_LogClick();
        QVERIFY(!r.page->logging());
        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        QCOMPARE(lines.takeLast(), QString());
        for (QString &l : lines) {
            const QRegularExpression time("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} ");
            QVERIFY2(time.match(l).hasMatch(), qPrintable(l));
            l = l.mid(24);
        }
        QCOMPARE(lines, (QStringList{"TX ver", "RX LMK540 V103", "TX xyz", "RX Unknown command: xyz",
                                     "TX ver", "RX LMK540 V103"}));
        QVERIFY(r.dialogs.texts.isEmpty());
    }

    // The scrollback over a real session: the oldest lines go first.
    void scrollbackOverUsb() {
        Rig r;
        QVERIFY(r.start());
        r.enterPage();
        // The access-point answer first (8 lines of it would fill the form).
        QTRY_VERIFY_WITH_TIMEOUT(!r.page->apSettingsExpected(), 3000);
        r.page->show();
        r.page->findChild<QSpinBox *>("SE_Scrollback")->setValue(100);
        for (int i = 0; i < 60; ++i) {
            QTest::keyClicks(r.chat, QStringLiteral("ver"));
            QTest::keyClick(r.chat, Qt::Key_Return);
            QTRY_COMPARE_WITH_TIMEOUT(r.chat->toPlainText().count("LMK540 V103"), qMin(i + 1, 50),
                                      3000);
        }
        QVERIFY(r.chat->blockCount() <= 100);
        QCOMPARE(r.sim.requests("usb").size(), 61);
        QCOMPARE(r.page->receivedBytes(), 87 + 60 * 13); // with the access-point answer
        QCOMPARE(r.page->sentBytes(), 60 * 10);
    }
};

QTEST_MAIN(TstTerminalSim)
#include "tst_terminalsim.moc"
