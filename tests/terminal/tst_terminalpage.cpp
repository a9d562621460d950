// The "USB Terminal" page: typing and sending lines, receiving text, the
// access-point form with its fill-in and "Set!".
#include "ScriptedDialogs.h"
#include "link/DeviceLink.h"
#include "terminal/TerminalOperations.h"
#include "terminal/ui/TerminalPage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QtTest>

using namespace lmk;

namespace {
// A page on a link whose USB writes are recorded, not carried out.
struct Fixture {
    DeviceLink link;
    ScriptedDialogs dialogs;
    TerminalPage page{link};
    QList<QByteArray> sent;
    QPlainTextEdit *chat = page.findChild<QPlainTextEdit *>("M_Chat");
    QPushButton *clear = page.findChild<QPushButton *>("B_Clear");
    QLineEdit *ssid = page.findChild<QLineEdit *>("E_SSID");
    QLineEdit *pass = page.findChild<QLineEdit *>("E_Pass");
    QSpinBox *channel = page.findChild<QSpinBox *>("SE_Channel");
    QSpinBox *power = page.findChild<QSpinBox *>("SE_Power");
    QPushButton *set = page.findChild<QPushButton *>("B_Set");

    explicit Fixture(bool usb = true) {
        link.UsbConnected = usb ? 1 : 0;
        link.pageShown = kPageTerminal;
        QObject::connect(&link, &DeviceLink::requestSent, &link,
                         [this](const QByteArray &b, const QString &) { sent << b; });
    }
    void receive(const QByteArray &payload) {
        link.OnDeviceData(reinterpret_cast<const quint8 *>(payload.constData()),
                          int(payload.size()));
    }
    // Page change into "USB Terminal" over USB, as the window does it.
    void enterPage() {
        page.clearChat();
        link.ApSettingsPending = 1;
        page.enableSet();
    }
    void fillForm(const QString &s, const QString &p, int ch, int pw) {
        ssid->setText(s);
        pass->setText(p);
        channel->setValue(ch);
        power->setValue(pw);
    }
};

const QByteArray kAnswer = "Access point name:\r\nLMK54-Home\r\nPasskey:\r\nabcdefghijklmnopqrstuv\r\n"
                           "Channel:\r\n7\r\nTX power:\r\n12\r\n";
} // namespace

class TstTerminalPage : public QObject {
    Q_OBJECT
private slots:
    void controls() {
        Fixture f;
        QVERIFY(f.chat && f.clear && f.ssid && f.pass && f.channel && f.power && f.set);
        QCOMPARE(f.page.objectName(), QStringLiteral("TS_Chat"));
        QCOMPARE(f.clear->text(), QStringLiteral("Clear"));
        QCOMPARE(f.set->text(), QStringLiteral("Set!"));
        QVERIFY(!f.set->isEnabled());
        QCOMPARE(f.chat->font().family(), QStringLiteral("System"));
        QCOMPARE(f.chat->font().pixelSize(), 13);
        QVERIFY(f.ssid->font().bold());
        QVERIFY(f.pass->font().bold());
        QCOMPARE(f.pass->echoMode(), QLineEdit::Normal);
        QCOMPARE(f.channel->minimum(), 0);
        QCOMPARE(f.channel->maximum(), 11);
        QCOMPARE(f.power->minimum(), 0);
        QCOMPARE(f.power->maximum(), 19);
        QCOMPARE(f.channel->value(), 0);
        QCOMPARE(f.power->value(), 0);
        QVERIFY(f.ssid->text().isEmpty() && f.pass->text().isEmpty());
        auto *box = f.page.findChild<QGroupBox *>();
        QVERIFY(box);
        QCOMPARE(box->title(), QStringLiteral("WiFi Access Point Configuration"));
        QStringList labels;
        for (auto *l : f.page.findChildren<QLabel *>())
            labels << l->text();
        for (const char *t : {"Name (SSID)", "Passkey", "Channel", "TX-Power", "dBm"})
            QVERIFY2(labels.contains(QLatin1String(t)), t);
    }

    void typingLimits() {
        Fixture f;
        f.page.show();
        QTest::keyClicks(f.ssid, QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(f.ssid->text(), QStringLiteral("ABCDEFGHIJ"));
        QTest::keyClicks(f.pass, QString(30, QLatin1Char('k')));
        QCOMPARE(f.pass->text(), QString(22, QLatin1Char('k')));
        // A longer text from the receiver stays whole and can be shortened.
        f.ssid->setText(QStringLiteral("ABCDEFGHIJKL"));
        QTest::keyClick(f.ssid, Qt::Key_Backspace);
        QCOMPARE(f.ssid->text(), QStringLiteral("ABCDEFGHIJK"));
        QTest::keyClicks(f.ssid, QStringLiteral("X"));
        QCOMPARE(f.ssid->text(), QStringLiteral("ABCDEFGHIJK"));
    }

    void typedLineIsSent() {
        Fixture f;
        f.page.show();
        QTest::keyClicks(f.chat, QStringLiteral("ver"));
        QVERIFY(f.sent.isEmpty());
        QTest::keyClick(f.chat, Qt::Key_Return);
        QCOMPARE(f.sent, QList<QByteArray>{QByteArray::fromHex("19057665720d0a000000")});
        QCOMPARE(f.chat->toPlainText(), QStringLiteral("ver\n"));
        QCOMPARE(f.link.AwaitingReply, quint8(0));
        QCOMPARE(f.link.PendingRequest, -1);
    }

    void everyReleaseSendsAgain() {
        Fixture f;
        f.page.show();
        QTest::keyClicks(f.chat, QStringLiteral("ab"));
        QTest::keyClick(f.chat, Qt::Key_Return);
        QTest::keyClick(f.chat, Qt::Key_Shift);
        QTest::keyClick(f.chat, Qt::Key_Up);
        const QByteArray ab = QByteArray::fromHex("190461620d0a00000000");
        QCOMPARE(f.sent, (QList<QByteArray>{ab, ab, ab}));
        // An auto-repeated key sends once, when it is finally released.
        f.sent.clear();
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(f.chat, &repeat);
        QVERIFY(f.sent.isEmpty());
    }

    void receivedLastLineIsSentBack() {
        Fixture f;
        f.page.show();
        f.receive("LMK540 V103\r\n");
        QTest::keyClick(f.chat, Qt::Key_Control);
        QCOMPARE(f.sent, QList<QByteArray>{*terminalLineFrame("LMK540 V103")});
    }

    // Keyboard users reach the memo with Tab, whose release then arrives in
    // the memo: it was not typed there and sends nothing. Nor does a key
    // held while the focus left the memo.
    void keyPressedElsewhereSendsNothing() {
        Fixture f;
        f.page.show();
        f.receive("LMK540 V103\r\n");
        QKeyEvent tabUp(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(f.chat, &tabUp);
        QVERIFY(f.sent.isEmpty());
        QKeyEvent shiftDown(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
        QCoreApplication::sendEvent(f.chat, &shiftDown);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(f.chat, &focusOut);
        QKeyEvent shiftUp(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
        QCoreApplication::sendEvent(f.chat, &shiftUp);
        QVERIFY(f.sent.isEmpty());
        // A key pressed and released in the memo still sends the line.
        QTest::keyClick(f.chat, Qt::Key_Shift);
        QCOMPARE(f.sent, QList<QByteArray>{*terminalLineFrame("LMK540 V103")});
    }

    void enterInTheMiddleSendsNothing() {
        Fixture f;
        f.page.show();
        QTest::keyClicks(f.chat, QStringLiteral("abcdef"));
        QTextCursor c = f.chat->textCursor();
        c.setPosition(3);
        f.chat->setTextCursor(c);
        QTest::keyClick(f.chat, Qt::Key_Return);
        QCOMPARE(f.chat->toPlainText(), QStringLiteral("abc\ndef"));
        QVERIFY(f.sent.isEmpty());
    }

    void emptyLineAndEmptyMemo() {
        Fixture f;
        f.page.show();
        QTest::keyClick(f.chat, Qt::Key_Shift);
        QVERIFY(f.sent.isEmpty());
        QTest::keyClick(f.chat, Qt::Key_Return);
        QCOMPARE(f.sent, QList<QByteArray>{QByteArray::fromHex("19020d0a00")});
    }

    void shiftEnterEndsTheLine() {
        Fixture f;
        f.page.show();
        QTest::keyClicks(f.chat, QStringLiteral("x"));
        QTest::keyClick(f.chat, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(f.chat->document()->blockCount(), 2);
        // Released: Return, then Shift; each sends the line.
        QCOMPARE(f.sent, (QList<QByteArray>{*terminalLineFrame("x"), *terminalLineFrame("x")}));
    }

    void tabIsNoCharacter() {
        Fixture f;
        f.page.show();
        QTest::keyClicks(f.chat, QStringLiteral("a"));
        QTest::keyClick(f.chat, Qt::Key_Tab);
        QCOMPARE(f.chat->toPlainText(), QStringLiteral("a"));
    }

    void noUsbMessage() {
        Fixture f(false);
        f.page.show();
        QTest::keyClicks(f.chat, QStringLiteral("ver"));
        QVERIFY(f.dialogs.texts.isEmpty());
        QTest::keyClick(f.chat, Qt::Key_Return);
        QCOMPARE(f.dialogs.texts, QStringList{"No USB connection available!"});
        QVERIFY(f.sent.isEmpty());
    }

    void lineLength_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("sent");
        QTest::newRow("253") << 253 << true;
        QTest::newRow("254") << 254 << false;
        QTest::newRow("1000") << 1000 << false;
    }
    void lineLength() {
        QFETCH(int, length);
        QFETCH(bool, sent);
        Fixture f;
        f.chat->setPlainText(QString(length, QLatin1Char('a')) + QLatin1Char('\n'));
        f.page.M_ChatKeyUp();
        if (sent) {
            QCOMPARE(f.sent.size(), 1);
            QCOMPARE(f.sent[0].size(), 260);
            QCOMPARE(quint8(f.sent[0][1]), quint8(255));
            QVERIFY(f.dialogs.texts.isEmpty());
        } else {
            QVERIFY(f.sent.isEmpty());
            QCOMPARE(f.dialogs.texts, QStringList{QString::fromLatin1(kLineTooLongText)});
            QCOMPARE(f.chat->toPlainText().size(), length + 1); // the memo keeps the line
        }
    }

    void nonLatin1Characters() {
        Fixture f;
        f.chat->setPlainText(QStringLiteral("Grüße €\n"));
        f.page.M_ChatKeyUp();
        QCOMPARE(f.sent, QList<QByteArray>{*terminalLineFrame("Gr\xfc\xdf" "e ?")});
    }

    void receiving() {
        Fixture f;
        f.receive(QByteArray(4, '\0'));
        QCOMPARE(f.chat->toPlainText(), QString());
        f.receive(QByteArray::fromHex("00414243"));
        QCOMPARE(f.chat->toPlainText(), QString());
        f.receive(QByteArray::fromHex("01414243"));
        QCOMPARE(f.chat->toPlainText(), QStringLiteral("\x01" "ABC"));
        f.receive(QByteArray(5, '\0'));
        QCOMPARE(f.chat->toPlainText().size(), 4 + 5);
    }

    void receivedTextIsPlainLatin1() {
        Fixture f;
        f.receive("<b>bold</b> &amp; \xe4\xf6\xfc\r\n");
        QCOMPARE(f.chat->toPlainText(),
                 QStringLiteral("<b>bold</b> &amp; ") + QChar(0xE4) + QChar(0xF6) + QChar(0xFC) +
                     QLatin1Char('\n'));
        // A status, version or scan reply is text too while the page is shown.
        f.page.clearChat();
        f.link.ScanActive = 1;
        f.link.AwaitingReply = 1;
        f.receive(QByteArray::fromHex("1240050003010000"));
        QCOMPARE(f.chat->toPlainText().size(), 8);
        QCOMPARE(f.link.AwaitingReply, quint8(1));
        QVERIFY(f.link.usbDeviceText().isEmpty());
    }

    void caretAtTheEnd() {
        Fixture f;
        f.page.resize(985, 510);
        f.page.show();
        QTest::keyClicks(f.chat, QStringLiteral("typed"));
        QTextCursor c = f.chat->textCursor();
        c.setPosition(1);
        f.chat->setTextCursor(c);
        QByteArray many;
        for (int i = 0; i < 200; ++i)
            many += "line " + QByteArray::number(i) + "\r\n";
        f.receive(many);
        QCOMPARE(f.chat->textCursor().position(), f.chat->document()->characterCount() - 1);
        QVERIFY(f.chat->verticalScrollBar()->value() > 0);
        QVERIFY(f.chat->viewport()->rect().contains(f.chat->cursorRect()));
        QVERIFY(f.chat->toPlainText().startsWith("typedline 0\n"));
    }

    void crLfSplitOverFrames() {
        Fixture f;
        f.receive("abc\r");
        f.receive("\ndef\r\n");
        QCOMPARE(f.chat->toPlainText(), QStringLiteral("abc\ndef\n"));
    }

    void longReceivedLines() {
        Fixture f;
        f.page.show();
        const QByteArray longLine(3000, 'x');
        f.receive(longLine);
        f.receive(longLine + "\r\nb");
        QCOMPARE(f.chat->toPlainText().remove(QLatin1Char('\n')).size(), 6001);
        // Deleting the "b" makes the 6000-character line the last one: it is
        // too long to send.
        QTextCursor c = f.chat->textCursor();
        c.movePosition(QTextCursor::End);
        f.chat->setTextCursor(c);
        QTest::keyClick(f.chat, Qt::Key_Backspace);
        QVERIFY(f.sent.isEmpty());
        QCOMPARE(f.dialogs.texts, QStringList{QString::fromLatin1(kLineTooLongText)});
        // Shortened to 253 characters by the user, it goes out whole.
        f.chat->clear();
        f.receive(QByteArray(2000, 'y'));
        c.movePosition(QTextCursor::End);
        f.chat->setTextCursor(c);
        c = f.chat->textCursor();
        c.movePosition(QTextCursor::Start);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 253);
        c.removeSelectedText();
        f.chat->moveCursor(QTextCursor::End);
        QTest::keyClick(f.chat, Qt::Key_Return);
        QCOMPARE(f.sent, QList<QByteArray>{*terminalLineFrame(QByteArray(253, 'y'))});
    }

    void longLinesInTheAnswer() {
        Fixture f;
        f.enterPage();
        const QByteArray ssid(2500, 'S');
        f.receive("a\r\n" + ssid.left(1200));
        f.receive(ssid.mid(1200) + "\r\nb\r\nP\r\nc\r\n1\r\nd\r\n");
        QCOMPARE(f.link.ApSettingsPending, quint8(1)); // 7 lines
        f.receive("2\r\n");
        QCOMPARE(f.link.ApSettingsPending, quint8(0));
        QCOMPARE(f.ssid->text(), QString::fromLatin1(ssid));
        QCOMPARE(f.pass->text(), QStringLiteral("P"));
        QCOMPARE(f.power->value(), 2);
    }

    void queuedSecondSetClick() {
        Fixture f;
        f.page.show();
        f.enterPage();
        f.fillForm("ABCDEFGHIJ", "0123456789012345678901", 1, 1);
        const QPointF at = QRectF(f.set->rect()).center();
        for (int i = 0; i < 2; ++i) {
            for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    f.set, new QMouseEvent(t, at, f.set->mapToGlobal(at), Qt::LeftButton,
                                           t == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                         : Qt::NoButton,
                                           Qt::NoModifier));
        }
        QCoreApplication::processEvents();
        QCOMPARE(f.sent.size(), 1);
        QVERIFY(!f.set->isEnabled());
    }

    void otherPageNotInMemo() {
        Fixture f;
        f.link.pageShown = kPageUpdate;
        f.link.AwaitingReply = 1;
        f.receive("hello\r\n");
        QCOMPARE(f.chat->toPlainText(), QString());
        f.link.pageShown = kPageDisplay;
        f.receive(QByteArray::fromHex("01414243"));
        QCOMPARE(f.chat->toPlainText(), QString());
    }

    void clearButton() {
        Fixture f;
        f.receive("abc\r\n");
        QTest::mouseClick(f.clear, Qt::LeftButton);
        QCOMPARE(f.chat->toPlainText(), QString());
        QVERIFY(f.sent.isEmpty());
    }

    void fillInWhole() {
        Fixture f;
        f.enterPage();
        f.receive(kAnswer);
        QCOMPARE(f.ssid->text(), QStringLiteral("LMK54-Home"));
        QCOMPARE(f.pass->text(), QStringLiteral("abcdefghijklmnopqrstuv"));
        QCOMPARE(f.channel->value(), 7);
        QCOMPARE(f.power->value(), 12);
        QCOMPARE(f.chat->toPlainText(), QString());
        QCOMPARE(f.link.ApSettingsPending, quint8(0));
        // Only once per visit.
        f.receive(kAnswer);
        QCOMPARE(f.chat->toPlainText(), QString::fromLatin1(kAnswer).replace("\r\n", "\n"));
    }

    void fillInNotPending() {
        Fixture f;
        f.receive(kAnswer);
        QVERIFY(f.ssid->text().isEmpty());
        QCOMPARE(f.chat->toPlainText(), QString::fromLatin1(kAnswer).replace("\r\n", "\n"));
    }

    void fillInPieces() {
        Fixture f;
        f.enterPage();
        // The 8th line is still incomplete when the memo first holds 8 lines.
        const int cut = int(kAnswer.size()) - 3; // "...TX power:\r\n1" | "2\r\n"
        f.receive(kAnswer.left(20));
        QCOMPARE(f.link.ApSettingsPending, quint8(1));
        f.receive(kAnswer.mid(20, cut - 20));
        QCOMPARE(f.link.ApSettingsPending, quint8(0));
        QCOMPARE(f.power->value(), 1);
        QCOMPARE(f.ssid->text(), QStringLiteral("LMK54-Home"));
        QCOMPARE(f.chat->toPlainText(), QString());
        f.receive(kAnswer.mid(cut));
        QCOMPARE(f.chat->toPlainText(), QStringLiteral("2\n"));
    }

    void fillInJumpOverEight() {
        Fixture f;
        f.enterPage();
        f.receive("first\r\n");
        f.receive(kAnswer); // 1 line -> 9 lines
        QCOMPARE(f.link.ApSettingsPending, quint8(1));
        QVERIFY(f.ssid->text().isEmpty());
        // After "Clear" a later answer still fills the form.
        QTest::mouseClick(f.clear, Qt::LeftButton);
        f.receive(kAnswer);
        QCOMPARE(f.link.ApSettingsPending, quint8(0));
        QCOMPARE(f.ssid->text(), QStringLiteral("LMK54-Home"));
    }

    void fillInOddNumbers() {
        Fixture f;
        f.channel->setValue(3);
        f.power->setValue(4);
        f.enterPage();
        f.receive("a\r\nS\r\nb\r\nP\r\nc\r\n 11 \r\nd\r\n25\r\n");
        QCOMPARE(f.channel->value(), 11);
        QCOMPARE(f.power->value(), 4); // out of range: left as it was
    }

    void setSendsFrame() {
        Fixture f;
        f.enterPage();
        f.fillForm("ABCDEFGHIJ", "0123456789012345678901", 6, 19);
        QTest::mouseClick(f.set, Qt::LeftButton);
        QVERIFY(f.dialogs.texts.isEmpty());
        QCOMPARE(f.sent.size(), 1);
        const QByteArray b = f.sent[0];
        QCOMPARE(b.size(), 88);
        QCOMPARE(b.toHex(' '), apConfigFrame({"ABCDEFGHIJ", "0123456789012345678901", "6", "19"}).toHex(' '));
        QCOMPARE(b.mid(0, 2), QByteArray("\x19\x56"));
        QCOMPARE(b.mid(2), QByteArray("set so s ABCDEFGHIJ\r\nset so p 0123456789012345678901\r\n"
                                      "set so c 6 \r\nset wl t 19\r\nsave\r\n"));
        QVERIFY(!f.set->isEnabled());
        QCOMPARE(f.chat->toPlainText(), QString());
        QCOMPARE(f.link.AwaitingReply, quint8(0));
        QCOMPARE(f.link.PendingRequest, -1);
        // Enabled again by the next visit.
        f.enterPage();
        QVERIFY(f.set->isEnabled());
    }

    void setChecks_data() {
        QTest::addColumn<QString>("ssid");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QStringList>("messages");
        const QString s10(10, 'S'), p22(22, 'P');
        QTest::newRow("all three") << s10.left(9) << p22.left(21) << false
                                   << QStringList{"Name / SSID muss 10 Zeichen lang sein!",
                                                  "Passwort muss 22 Zeichen lang sein!",
                                                  "No USB connection available!"};
        QTest::newRow("ssid") << QString() << p22 << true
                              << QStringList{"Name / SSID muss 10 Zeichen lang sein!"};
        QTest::newRow("pass") << s10 << p22.left(5) << true
                              << QStringList{"Passwort muss 22 Zeichen lang sein!"};
        QTest::newRow("usb") << s10 << p22 << false
                             << QStringList{"No USB connection available!"};
    }
    void setChecks() {
        QFETCH(QString, ssid);
        QFETCH(QString, pass);
        QFETCH(bool, usb);
        QFETCH(QStringList, messages);
        Fixture f(usb);
        f.page.enableSet();
        f.fillForm(ssid, pass, 1, 2);
        f.page.B_SetClick();
        QCOMPARE(f.dialogs.texts, messages);
        QVERIFY(f.sent.isEmpty());
        QVERIFY(f.set->isEnabled());
    }

    void setCutsFilledInTexts() {
        Fixture f;
        f.enterPage();
        f.receive("1\r\nABCDEFGHIJKLMNOP\r\n3\r\n0123456789012345678901XYZ\r\n5\r\n3\r\n7\r\n5\r\n");
        QCOMPARE(f.ssid->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(f.pass->text(), QStringLiteral("0123456789012345678901XYZ"));
        f.page.B_SetClick();
        QCOMPARE(f.sent.size(), 1);
        QCOMPARE(f.sent[0].size(), 88);
        QCOMPARE(f.sent[0].mid(11, 10), QByteArray("ABCDEFGHIJ"));
        QCOMPARE(f.sent[0].mid(32, 22), QByteArray("0123456789012345678901"));
        QCOMPARE(f.sent[0].mid(65, 2), QByteArray("3 "));
        QCOMPARE(f.sent[0].mid(78, 2), QByteArray("5 "));
    }
};

QTEST_MAIN(TstTerminalPage)
#include "tst_terminalpage.moc"
