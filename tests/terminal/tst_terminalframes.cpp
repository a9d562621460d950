// Terminal line frames, the access-point frame, acknowledgements, line
// counting and the 8-line fill-in rule.
#include "link/DeviceLink.h"
#include "terminal/TerminalFrames.h"
#include "terminal/TerminalOperations.h"

#include <QtTest>

using namespace lmk;

class TstTerminalFrames : public QObject {
    Q_OBJECT
private slots:
    void lineFrame_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("frame"); // empty: refused
        auto hex = [](const char *h) { return QByteArray::fromHex(h); };
        QTest::newRow("ver") << QByteArray("ver") << hex("1905766572 0d0a 000000");
        QTest::newRow("empty line") << QByteArray() << hex("19020d0a00");
        QTest::newRow("1 character") << QByteArray("x") << hex("190378 0d0a 00 00000000");
        QTest::newRow("5 characters") << QByteArray("abcde")
                                      << hex("19076162636465 0d0a 00");
        QTest::newRow("6 characters") << QByteArray("abcdef")
                                      << hex("1908616263646566 0d0a 00 00000000");
        const QByteArray l253(253, 'a');
        QTest::newRow("253 characters")
            << l253 << (QByteArray("\x19\xff", 2) + l253 + QByteArray("\r\n\0\0\0", 5));
        QTest::newRow("254 characters refused") << QByteArray(254, 'a') << QByteArray();
        QTest::newRow("bytes above 0x7F kept") << QByteArray("\xe4\xff", 2)
                                               << hex("1904e4ff0d0a00000000");
    }
    void lineFrame() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, frame);
        const auto f = terminalLineFrame(line);
        if (frame.isEmpty()) {
            QVERIFY(!f);
            return;
        }
        QVERIFY(f);
        QCOMPARE(f->toHex(' '), frame.toHex(' '));
        QCOMPARE(f->size() % 5, 0);
        QVERIFY(f->size() >= line.size() + 5);
        QCOMPARE(terminalLineFrameSize(int(line.size())), int(f->size()));
    }

    void terminalBytes() {
        QCOMPARE(toTerminalBytes(QStringLiteral("ä€x")), QByteArray("\xe4?x"));
        QCOMPARE(fromTerminalBytes("\xe4\x00<b>", 5), QString(QChar(0xE4)) + QChar(0) + "<b>");
    }

    void acknowledgement_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("ack");
        QTest::newRow("00000000") << QByteArray(4, '\0') << true;
        QTest::newRow("00 then anything") << QByteArray::fromHex("00414243") << true;
        QTest::newRow("4 bytes starting 01") << QByteArray::fromHex("01000000") << false;
        QTest::newRow("3 zero bytes") << QByteArray(3, '\0') << false;
        QTest::newRow("5 zero bytes") << QByteArray(5, '\0') << false;
    }
    void acknowledgement() {
        QFETCH(QByteArray, payload);
        QFETCH(bool, ack);
        QCOMPARE(isLineAcknowledgement(reinterpret_cast<const quint8 *>(payload.constData()),
                                       int(payload.size())),
                 ack);
    }

    void lines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList{};
        QTest::newRow("one line with break") << QStringLiteral("abc\r\n") << QStringList{"abc"};
        QTest::newRow("one line without break") << QStringLiteral("abc") << QStringList{"abc"};
        QTest::newRow("only a break") << QStringLiteral("\r\n") << QStringList{""};
        QTest::newRow("empty line inside") << QStringLiteral("a\r\n\r\nb\r\n")
                                           << QStringList{"a", "", "b"};
        QTest::newRow("incomplete last line") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
        // Only CR LF breaks a line; a single CR or LF is a character of it.
        QTest::newRow("single LF") << QStringLiteral("a\nb\r\n") << QStringList{"a\nb"};
        QTest::newRow("ends with a single CR") << QStringLiteral("abcd\r")
                                               << QStringList{"abcd\r"};
        QTest::newRow("ends with a single LF") << QStringLiteral("abcd\n")
                                               << QStringList{"abcd\n"};
        QTest::newRow("LF CR") << QStringLiteral("a\n\rb") << QStringList{"a\n\rb"};
        QTest::newRow("CR before CR LF") << QStringLiteral("a\r\r\nb")
                                         << QStringList{"a\r", "b"};
    }
    void lines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(terminalLines(text), lines);
        QCOMPARE(endsWithLineBreak(text), text.endsWith(QLatin1String("\r\n")));
    }

    // What the form's spin edits take from the receiver's answer.
    void fieldNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("value"); // -1: none
        QTest::newRow("6") << "6" << 11 << 6;
        QTest::newRow("blanks around") << " 11 " << 11 << 11;
        QTest::newRow("leading zero") << "07" << 11 << 7;
        QTest::newRow("0") << "0" << 19 << 0;
        QTest::newRow("19") << "19" << 19 << 19;
        QTest::newRow("channel 12") << "12" << 11 << -1;
        QTest::newRow("channel 13") << "13" << 11 << -1;
        QTest::newRow("power 25") << "25" << 19 << -1;
        QTest::newRow("negative") << "-1" << 19 << -1;
        QTest::newRow("abc") << "abc" << 19 << -1;
        QTest::newRow("digit and letter") << "1x" << 19 << -1;
        QTest::newRow("hex") << "0x5" << 19 << -1;
        QTest::newRow("empty") << "" << 19 << -1;
    }
    void fieldNumber() {
        QFETCH(QString, text);
        QFETCH(int, max);
        QFETCH(int, value);
        const std::optional<int> v = apFieldNumber(text, 0, max);
        QCOMPARE(v.value_or(-1), value);
        const QString problem = max == kChannelMax ? apChannelProblem(text) : apPowerProblem(text);
        QCOMPARE(problem.isEmpty(), value >= 0);
        if (value < 0) // the message names the value as it came
            QVERIFY2(problem.contains(QLatin1Char('"') + text + QLatin1Char('"')),
                     qPrintable(problem));
    }

    void fillInRule() {
        const QStringList eight{"SSID:", "MyLMK54AP1", "Key:", "k", "Ch:", "6", "Pwr:", "19"};
        const auto s = apSettingsFromLines(eight);
        QVERIFY(s);
        QCOMPARE(*s, (ApSettings{"MyLMK54AP1", "k", "6", "19"}));
        QVERIFY(!apSettingsFromLines(eight.mid(0, 7)));
        QVERIFY(!apSettingsFromLines(eight + QStringList{"x"}));
        QVERIFY(!apSettingsFromLines({}));
    }

    // The receive handler and fill-in step without a window (as lmkctl uses
    // them): pieces in, text and settings out.
    void receiverOverString_data() {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QString>("ssid"); // empty: not filled
        QTest::addColumn<QString>("power");
        QTest::addColumn<QString>("text"); // what is left
        const QByteArray answer = "a\r\nSSID-12345\r\nb\r\nK\r\nc\r\n6\r\nd\r\n19\r\n";
        QTest::newRow("whole") << QList<QByteArray>{answer} << "SSID-12345" << "19" << "";
        QTest::newRow("ack and pieces")
            << QList<QByteArray>{QByteArray(4, '\0'), answer.left(5), answer.mid(5, 40),
                                 answer.mid(45)}
            << "SSID-12345" << "19" << "";
        // Filled once the 8th line has its line break, not before.
        QTest::newRow("8th line cut inside the value")
            << QList<QByteArray>{answer.chopped(3), answer.right(3)} << "SSID-12345" << "19" << "";
        QTest::newRow("8th line cut inside its break")
            << QList<QByteArray>{answer.chopped(1), answer.right(1)} << "SSID-12345" << "19" << "";
        QTest::newRow("8th line without its break")
            << QList<QByteArray>{answer.chopped(2)} << "" << "" << QString::fromLatin1(answer.chopped(2));
        QTest::newRow("8th line ends with a CR only")
            << QList<QByteArray>{answer.chopped(1)} << "" << "" << QString::fromLatin1(answer.chopped(1));
        QTest::newRow("single LFs are no line breaks")
            << QList<QByteArray>{QByteArray(answer).replace("\r\n", "\n")} << "" << ""
            << QString::fromLatin1(QByteArray(answer).replace("\r\n", "\n"));
        QTest::newRow("jump to 9 lines")
            << QList<QByteArray>{"x\r\n", answer} << "" << "" << QString::fromLatin1("x\r\n" + answer);
    }
    void receiverOverString() {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QString, ssid);
        QFETCH(QString, power);
        QFETCH(QString, text);
        DeviceLink link;
        link.setTerminalMode(true);
        StringChat chat;
        TerminalReceiver receiver(link, chat);
        receiver.setSettingsPending(true);
        std::optional<ApSettings> got;
        receiver.settingsReceived = [&](const ApSettings &s) { got = s; };
        for (const QByteArray &p : pieces)
            link.deliverPayload(p, false);
        QCOMPARE(chat.text, text);
        if (ssid.isEmpty()) {
            QVERIFY(!got);
            QVERIFY(receiver.settingsPending());
        } else {
            QVERIFY(got);
            QCOMPARE(got->ssid, ssid);
            QCOMPARE(got->passkey, QStringLiteral("K"));
            QCOMPARE(got->power, power);
            QVERIFY(!receiver.settingsPending());
        }
    }

    void apFrame() {
        const ApSettings s{"ABCDEFGHIJ", "0123456789012345678901", "6", "19"};
        const QByteArray f = apConfigFrame(s);
        QCOMPARE(f.size(), 88);
        QCOMPARE(quint8(f[0]), quint8(0x19));
        QCOMPARE(quint8(f[1]), quint8(0x56));
        QCOMPARE(f.mid(2), QByteArray("set so s ABCDEFGHIJ\r\n"
                                      "set so p 0123456789012345678901\r\n"
                                      "set so c 6 \r\n"
                                      "set wl t 19\r\n"
                                      "save\r\n"));
        // Byte by byte at the fixed offsets.
        QCOMPARE(f.mid(2, 9), QByteArray("set so s "));
        QCOMPARE(f.mid(11, 10), QByteArray("ABCDEFGHIJ"));
        QCOMPARE(f.mid(21, 2), QByteArray("\r\n"));
        QCOMPARE(f.mid(23, 9), QByteArray("set so p "));
        QCOMPARE(f.mid(32, 22), QByteArray("0123456789012345678901"));
        QCOMPARE(f.mid(56, 9), QByteArray("set so c "));
        QCOMPARE(f.mid(65, 2), QByteArray("6 "));
        QCOMPARE(f.mid(69, 9), QByteArray("set wl t "));
        QCOMPARE(f.mid(78, 2), QByteArray("19"));
        QCOMPARE(f.mid(80, 8), QByteArray("\r\nsave\r\n"));
    }

    void apFrameCutsLongFields() {
        const ApSettings s{"ABCDEFGHIJKLMN", "0123456789012345678901234", "123", "4567"};
        const QByteArray f = apConfigFrame(s);
        QCOMPARE(f.size(), 88);
        QCOMPARE(f.mid(11, 10), QByteArray("ABCDEFGHIJ"));
        QCOMPARE(f.mid(32, 22), QByteArray("0123456789012345678901"));
        QCOMPARE(f.mid(65, 2), QByteArray("12"));
        QCOMPARE(f.mid(78, 2), QByteArray("45"));
    }

    void apFrameLatin1() {
        const ApSettings s{QStringLiteral("Äbcdefghi€"), QString(22, QChar(0xFF)), "0", "0"};
        const QByteArray f = apConfigFrame(s);
        QCOMPARE(f.size(), 88);
        QCOMPARE(f.mid(11, 10), QByteArray("\xc4" "bcdefghi?"));
        QCOMPARE(f.mid(32, 22), QByteArray(22, '\xff'));
    }
};

QTEST_MAIN(TstTerminalFrames)
#include "tst_terminalframes.moc"
