// Routing of received frames: page shown, scan state and payload in; reply
// state and hand-offs out.
#include "link/ReplyDispatcher.h"

#include <QtTest>

using namespace lmk;

namespace {
QStringList dispatch(ReplyState &state, int page, bool fromRx, const QByteArray &payload,
                     int length = INT_MIN) {
    QStringList calls;
    ReplyHandlers h;
    h.terminalText = [&](const quint8 *p, int n) {
        calls << "terminal:" + QByteArray(reinterpret_cast<const char *>(p), n).toHex();
    };
    h.scanFrame = [&](const quint8 *p, int n) {
        calls << "scan:" + QByteArray(reinterpret_cast<const char *>(p), n).toHex();
    };
    h.taskList = [&](const quint8 *, int n) { calls << QStringLiteral("tasks:%1").arg(n); };
    h.slotRecord = [&](const quint8 *p, int n) {
        calls << QStringLiteral("slot:%1:%2").arg(readLe32(p + 4)).arg(n);
    };
    h.slotReadError = [&] { calls << QStringLiteral("slotError"); };
    h.version = [&](const QString &text, bool wlan) {
        calls << QStringLiteral("version:%1:%2").arg(text, wlan ? "wlan" : "usb");
    };
    dispatchFrame(state, page, fromRx, reinterpret_cast<const quint8 *>(payload.constData()),
                  length == INT_MIN ? int(payload.size()) : length, h);
    return calls;
}
} // namespace

class TstDispatch : public QObject {
    Q_OBJECT
private slots:
    void table_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("scan");
        QTest::addColumn<bool>("fromRx");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("pending");  // PendingRequest after
        QTest::addColumn<int>("awaiting"); // AwaitingReply after (it starts at 1)
        QTest::addColumn<QStringList>("calls");

        auto hex = [](const char *h) { return QByteArray::fromHex(h); };
        QTest::newRow("status 00") << 0 << false << false << hex("00000000") << 0 << 1 << QStringList{};
        QTest::newRow("status 55") << 0 << false << false << hex("55000000") << 0x55 << 1 << QStringList{};
        QTest::newRow("status 5A") << 1 << false << true << hex("5a000000") << 0x5A << 1 << QStringList{};
        QTest::newRow("status words in order, last decides")
            << 0 << false << false << hex("0000000055000000") << 0x55 << 1 << QStringList{};
        QTest::newRow("02 ignored") << 0 << false << false << hex("02ffffff5a000000") << 0x5A << 1
                                    << QStringList{};
        QTest::newRow("C0 skips the next word")
            << 0 << false << false << hex("c0000000ab00000055000000") << 0x55 << 1 << QStringList{};
        QTest::newRow("version over USB") << 0 << false << false << hex("1240050003010000") << -1 << 1
                                          << QStringList{"version:LMK540 V103:usb"};
        QTest::newRow("version first word from WLAN buffer")
            << 0 << false << true << hex("1240050003010000") << -1 << 1
            << QStringList{"version:LMK540 V103:wlan"};
        QTest::newRow("version second word from WLAN buffer goes to USB field")
            << 0 << false << true << hex("000000001250050004020000") << 0 << 1
            << QStringList{"version:LMK550 V204:usb"};
        QTest::newRow("version digits upper case, 12 bits")
            << 0 << false << false << hex("12abcdefffffffff") << -1 << 1
            << QStringList{"version:LMKDAB VFFF:usb"};
        QTest::newRow("unknown code clears AwaitingReply and ends the frame")
            << 0 << false << false << hex("7700000055000000") << -1 << 0 << QStringList{};
        QTest::newRow("task list gets the rest and clears AwaitingReply")
            << 0 << false << false << hex("550000000b000000aaaaaaaa") << 0x55 << 0
            << QStringList{"tasks:8"};
        QTest::newRow("terminal page takes everything")
            << 2 << true << false << hex("1240050003010000") << -1 << 1
            << QStringList{"terminal:1240050003010000"};
        QTest::newRow("terminal page, short payload")
            << 2 << false << false << hex("414243") << -1 << 1 << QStringList{"terminal:414243"};
        QTest::newRow("scan takes the frame, version included")
            << 1 << true << true << hex("1240050003010000") << -1 << 1
            << QStringList{"scan:1240050003010000"};
        QTest::newRow("scan takes a short frame") << 0 << true << false << hex("05") << -1 << 1
                                                  << QStringList{"scan:05"};
        // Words that refer beyond the payload are not read there.
        QTest::newRow("version word at the end") << 0 << false << false << hex("5500000012400500")
                                                 << 0x55 << 1 << QStringList{};
        QTest::newRow("C0 word at the end") << 0 << false << false << hex("00000000c0000000") << 0
                                            << 1 << QStringList{};
        QTest::newRow("partial word at the end")
            << 0 << false << false << hex("5a0000000000") << 0x5A << 1 << QStringList{};
        QTest::newRow("slot reply too short") << 0 << false << false << hex("10000000") + QByteArray(248, '\0')
                                              << -1 << 1 << QStringList{"slotError"};
        QTest::newRow("slot reply between 256 and 264")
            << 0 << false << false << hex("1000000007000000") + QByteArray(252, 'x') << -1 << 1
            << QStringList{"slotError"};
        // 256 bytes: slot number and the first 248 record bytes (before: an
        // error, so such a receiver could never be read).
        QTest::newRow("slot reply of 256 bytes")
            << 0 << false << false << hex("1000000007000000") + QByteArray(248, 'x') << 0 << 1
            << QStringList{"slot:7:256"};
        QTest::newRow("slot reply whole")
            << 0 << false << false << hex("1000000007000000") + QByteArray(256, 'x') << 0 << 1
            << QStringList{"slot:7:264"};
    }
    void table() {
        QFETCH(int, page);
        QFETCH(bool, scan);
        QFETCH(bool, fromRx);
        QFETCH(QByteArray, payload);
        QFETCH(int, pending);
        QFETCH(int, awaiting);
        QFETCH(QStringList, calls);
        ReplyState s;
        s.AwaitingReply = 1;
        s.PendingRequest = -1;
        s.ScanActive = scan ? 1 : 0;
        QCOMPARE(dispatch(s, page, fromRx, payload), calls);
        QCOMPARE(s.PendingRequest, pending);
        QCOMPARE(int(s.AwaitingReply), awaiting);
    }

    void unknownCodeIsKept_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("code");
        QTest::newRow("first word") << QByteArray::fromHex("1f000000") << 0x1F;
        QTest::newRow("after a status word") << QByteArray::fromHex("00000000c1ffffff") << 0xC1;
        QTest::newRow("known codes only") << QByteArray::fromHex("55000000") << -1;
    }
    void unknownCodeIsKept() {
        QFETCH(QByteArray, payload);
        QFETCH(int, code);
        ReplyState s;
        s.AwaitingReply = 1;
        dispatch(s, 0, false, payload);
        QCOMPARE(s.UnexpectedCode, code);
    }

    void nonPositiveLengthIgnored_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("0") << 0;
        QTest::newRow("-1") << -1;
        QTest::newRow("-3") << -3;
    }
    void nonPositiveLengthIgnored() {
        QFETCH(int, length);
        for (int page : {0, 2}) {
            ReplyState s;
            s.AwaitingReply = 1;
            QVERIFY(dispatch(s, page, true, QByteArray::fromHex("77000000"), length).isEmpty());
            QCOMPARE(int(s.AwaitingReply), 1);
            QCOMPARE(s.PendingRequest, -1);
        }
    }

    void versionTextFormat() {
        QCOMPARE(versionText(0x00054012, 0x00000103), QStringLiteral("LMK540 V103"));
        QCOMPARE(versionText(0x00000012, 0), QStringLiteral("LMK000 V000"));
    }

    void statusTextIsCut() {
        ReplyState s;
        s.setStatusText(QByteArray(150, 'a'));
        QCOMPARE(s.StatusText.size(), kStatusTextMax);
    }
};

QTEST_GUILESS_MAIN(TstDispatch)
#include "tst_dispatch.moc"
