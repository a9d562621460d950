// The "USB Terminal" page: typing and sending lines, receiving text, the
// access-point form with its fill-in and "Set!".
#include "OwnSettings.h"
#include "ScriptedDialogs.h"
#include "link/DeviceLink.h"
#include "terminal/TerminalOperations.h"
#include "terminal/ui/ChatMemo.h"
#include "terminal/ui/TerminalPage.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
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
        link.setUsbOpenForTest(usb);
        link.setTerminalMode(true);
        QObject::connect(&link, &DeviceLink::requestSent, &link,
                         [this](const QByteArray &b, const QString &) { sent << b; });
    }
    void receive(const QByteArray &payload) {
        link.deliverPayload(payload, false);
    }
    // Page change into "USB Terminal" over USB, as the window does it.
    void enterPage() {
        page.clearChat();
        page.expectApSettings(true);
        page.enableSet();
    }
    // Runs one step on the memo: "type:TEXT", "click:KEY", "press:KEY",
    // "repeat:KEY" (an auto-repeated press), "release:KEY", "shift+click:KEY",
    // "receive:TEXT", "cursor:N" or "focusout:". KEY is
    // Return, Enter (keypad), Shift, Control, Up or Down.
    void step(const QString &s) {
        const QString arg = s.section(QLatin1Char(':'), 1);
        const QString verb = s.section(QLatin1Char(':'), 0, 0);
        static const QHash<QString, Qt::Key> keys{
            {"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter}, {"Shift", Qt::Key_Shift},
            {"Control", Qt::Key_Control}, {"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}};
        const Qt::Key key = keys.value(arg, Qt::Key_unknown);
        const Qt::KeyboardModifiers mods =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        auto keyEvent = [&](QEvent::Type t, Qt::KeyboardModifiers m, bool repeat) {
            const QString text = key == Qt::Key_Return || key == Qt::Key_Enter ? "\r" : "";
            QKeyEvent e(t, key, m, text, repeat);
            QCoreApplication::sendEvent(chat, &e);
        };
        if (verb == "type") {
            QTest::keyClicks(chat, arg);
        } else if (verb == "click") {
            keyEvent(QEvent::KeyPress, mods, false);
            keyEvent(QEvent::KeyRelease, mods, false);
        } else if (verb == "shift+click") {
            keyEvent(QEvent::KeyPress, mods | Qt::ShiftModifier, false);
            keyEvent(QEvent::KeyRelease, mods | Qt::ShiftModifier, false);
        } else if (verb == "press") {
            keyEvent(QEvent::KeyPress, mods, false);
        } else if (verb == "repeat") {
            keyEvent(QEvent::KeyRelease, mods, true);
            keyEvent(QEvent::KeyPress, mods, true);
        } else if (verb == "release") {
            keyEvent(QEvent::KeyRelease, mods, false);
        } else if (verb == "receive") {
            receive(arg.toLatin1());
        } else if (verb == "focusout") {
            QFocusEvent e(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(chat, &e);
        } else if (verb == "cursor") {
            QTextCursor c = chat->textCursor();
            c.setPosition(arg.toInt());
            chat->setTextCursor(c);
        } else {
            QFAIL(qPrintable("unknown step " + s));
        }
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

namespace {
QByteArray fileContents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
template <typename W> W *child(TerminalPage &page, const char *name) {
    return page.findChild<W *>(QLatin1String(name));
}
// Ctrl+Up (-1) or Ctrl+Down (+1) in a widget.
void recallKey(QWidget *w, int direction) {
    QTest::keyClick(w, direction < 0 ? Qt::Key_Up : Qt::Key_Down, Qt::ControlModifier);
}
const QByteArray kVerFrame = QByteArray::fromHex("19057665720d0a000000");
} // namespace

class TstTerminalPage : public QObject {
    Q_OBJECT
    // The page keeps its choices and sent lines in the settings: this
    // process's own.
    OwnSettings m_settings;
    QTemporaryDir m_dir;

private slots:
    void init() {
        // Every test starts from the page's defaults.
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      "/lmkinterface/lmkinterface.conf");
    }

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
        QVERIFY(!f.link.exchangeRunning()); // nothing waits for an answer
    }

    // A line goes out when the key that ended it is released, once per
    // press; no other key and no text from the receiver sends anything.
    void lineEnds_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("sent"); // the lines that went out
        QTest::newRow("Enter, then Shift and an arrow key")
            << QStringList{"type:ab", "click:Return", "click:Shift", "click:Up"}
            << QStringList{"ab"};
        QTest::newRow("keys after the receiver's answer")
            << QStringList{"receive:LMK540 V103\r\n", "click:Shift", "click:Up",
                           "click:Control"}
            << QStringList{};
        QTest::newRow("arrow key after the module's reply to Set!")
            << QStringList{"receive:AOK\r\nAOK\r\nSaved\r\n", "click:Down"}
            << QStringList{};
        QTest::newRow("Enter after the receiver's text sends it")
            << QStringList{"receive:LMK540 V103", "click:Return"} << QStringList{"LMK540 V103"};
        QTest::newRow("Enter after the receiver's line sends an empty one")
            << QStringList{"receive:LMK540 V103\r\n", "click:Return"} << QStringList{""};
        QTest::newRow("Shift+Enter sends once")
            << QStringList{"type:x", "shift+click:Return", "click:Shift"} << QStringList{"x"};
        QTest::newRow("keypad Enter")
            << QStringList{"type:ver", "click:Enter", "click:Up"} << QStringList{"ver"};
        QTest::newRow("held Enter sends once")
            << QStringList{"type:ver", "press:Return", "repeat:Return", "repeat:Return",
                           "release:Return"}
            << QStringList{"ver"};
        QTest::newRow("two presses, two lines")
            << QStringList{"type:a", "click:Return", "type:b", "click:Return"}
            << QStringList{"a", "b"};
        QTest::newRow("the receiver's text during the press")
            << QStringList{"type:ver", "press:Return", "receive:LMK540 V103\r\n",
                           "release:Return"}
            << QStringList{"ver"};
        QTest::newRow("Enter in the middle, text ending with a break")
            << QStringList{"type:abc", "click:Return", "cursor:1", "click:Return", "click:Down"}
            << QStringList{"abc"};
        QTest::newRow("Enter held while the focus leaves")
            << QStringList{"type:ver", "press:Return", "focusout:", "release:Return"}
            << QStringList{};
        QTest::newRow("release without a press")
            << QStringList{"type:ab", "release:Return"} << QStringList{};
        QTest::newRow("single CR from the receiver")
            << QStringList{"receive:abcd\r", "click:Shift"} << QStringList{};
        QTest::newRow("single CR and LF belong to the line")
            << QStringList{"receive:a\rb\nc", "type:d", "click:Return"}
            << QStringList{"a\rb\ncd"};
    }
    void lineEnds() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, sent);
        Fixture f;
        f.page.show();
        for (const QString &s : steps)
            f.step(s);
        QList<QByteArray> frames;
        for (const QString &l : sent)
            frames << *terminalLineFrame(toTerminalBytes(l));
        QCOMPARE(f.sent, frames);
        QVERIFY(f.dialogs.texts.isEmpty());
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
        // Nor a key pressed and released in the memo that ends no line.
        QTest::keyClick(f.chat, Qt::Key_Shift);
        QVERIFY(f.sent.isEmpty());
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
        // Released: Return, then Shift; only Return sends the line.
        QCOMPARE(f.sent, QList<QByteArray>{*terminalLineFrame("x")});
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
        f.page.show();
        f.chat->setPlainText(QString(length, QLatin1Char('a')));
        f.chat->moveCursor(QTextCursor::End);
        QTest::keyClick(f.chat, Qt::Key_Return);
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

    // A character without a byte of its own is not sent as something else:
    // the line is refused, naming it; Latin-1 goes out byte for byte.
    void nonLatin1Characters() {
        Fixture f;
        f.page.show();
        f.chat->setPlainText(QStringLiteral("Grüße € Ω €"));
        f.chat->moveCursor(QTextCursor::End);
        QTest::keyClick(f.chat, Qt::Key_Return);
        QVERIFY(f.sent.isEmpty());
        QCOMPARE(f.dialogs.texts,
                 QStringList{QString::fromLatin1(kUnsendableLineText).arg(QStringLiteral("€ Ω"))});
        f.chat->insertPlainText(QStringLiteral("Grüße"));
        QTest::keyClick(f.chat, Qt::Key_Return);
        QCOMPARE(f.sent, QList<QByteArray>{*terminalLineFrame("Gr\xfc\xdf" "e")});
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
        // A status, version or scan reply nobody asked for is text too while
        // the page is shown.
        f.page.clearChat();
        f.receive(QByteArray::fromHex("1240050003010000"));
        QCOMPARE(f.chat->toPlainText().size(), 8);
        QVERIFY(!f.link.exchangeRunning());
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

    // Breaks are shown as they came; only CR LF ends a line.
    void breaksAsTheyCame_data() {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("complete"); // ends with a line break
        QTest::newRow("CR LF split over frames")
            << QList<QByteArray>{"abc\r", "\ndef\r\n"} << "abc\ndef\n" << 2 << true;
        QTest::newRow("single CR at the end") << QList<QByteArray>{"abcd\r"} << "abcd\n" << 1
                                              << false;
        QTest::newRow("single LF at the end") << QList<QByteArray>{"abcd\n"} << "abcd\n" << 1
                                              << false;
        QTest::newRow("single CR and LF inside")
            << QList<QByteArray>{"a\rb\nc\r\nd"} << "a\nb\nc\nd" << 2 << false;
        QTest::newRow("LF then CR") << QList<QByteArray>{"a\n", "\rb\r\n"} << "a\n\nb\n" << 1
                                    << true;
        QTest::newRow("CR, CR LF") << QList<QByteArray>{"a\r", "\r\n"} << "a\n\n" << 1 << true;
        QTest::newRow("empty lines") << QList<QByteArray>{"\r\n\r\n"} << "\n\n" << 2 << true;
    }
    void breaksAsTheyCame() {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QString, shown);
        QFETCH(int, lines);
        QFETCH(bool, complete);
        Fixture f;
        for (const QByteArray &p : pieces)
            f.receive(p);
        QCOMPARE(f.chat->toPlainText(), shown);
        auto *memo = static_cast<TerminalChat *>(f.page.findChild<ChatMemo *>("M_Chat"));
        QCOMPARE(memo->chatText(), QString::fromLatin1(pieces.join()));
        QCOMPARE(memo->lineCount(10), lines);
        QCOMPARE(memo->endsWithLineBreak(), complete);
        QCOMPARE(int(terminalLines(memo->chatText()).size()), lines);
    }

    // Editing around single CRs and LFs keeps each break as it came.
    void editingKeepsBreaks() {
        Fixture f;
        f.page.show();
        f.receive("a\rbc\nd");
        auto *memo = f.page.findChild<ChatMemo *>("M_Chat");
        auto at = [&](int position) {
            QTextCursor c = f.chat->textCursor();
            c.setPosition(position);
            f.chat->setTextCursor(c);
        };
        at(3); // between b and c
        QTest::keyClick(f.chat, Qt::Key_Return);
        QCOMPARE(memo->chatText(), QStringLiteral("a\rb\r\nc\nd"));
        QCOMPARE(memo->lineCount(10), 2);
        QTest::keyClick(f.chat, Qt::Key_Backspace);
        QCOMPARE(memo->chatText(), QStringLiteral("a\rbc\nd"));
        QCOMPARE(memo->lineCount(10), 1);
        QGuiApplication::clipboard()->setText(QStringLiteral("x\ny"));
        at(3);
        f.chat->paste();
        QCOMPARE(memo->chatText(), QStringLiteral("a\rbx\r\nyc\nd"));
        at(2); // the start of "bx"
        QTest::keyClick(f.chat, Qt::Key_Backspace);
        QCOMPARE(memo->chatText(), QStringLiteral("abx\r\nyc\nd"));
        at(3); // the end of "abx"
        QTest::keyClick(f.chat, Qt::Key_Delete);
        QCOMPARE(memo->chatText(), QStringLiteral("abxyc\nd"));
        QVERIFY(f.sent.isEmpty());
    }

    void longReceivedLines() {
        Fixture f;
        f.page.show();
        const QByteArray longLine(3000, 'x');
        f.receive(longLine);
        f.receive(longLine + "\r\nb");
        QCOMPARE(f.chat->toPlainText().remove(QLatin1Char('\n')).size(), 6001);
        // Enter after more of the line makes a 6003-character line: it is too
        // long to send.
        f.chat->moveCursor(QTextCursor::End);
        f.receive(longLine);
        QTest::keyClicks(f.chat, QStringLiteral("yz"));
        QTest::keyClick(f.chat, Qt::Key_Return);
        QVERIFY(f.sent.isEmpty());
        QCOMPARE(f.dialogs.texts, QStringList{QString::fromLatin1(kLineTooLongText)});
        // Shortened to 253 characters by the user, it goes out whole.
        f.chat->clear();
        f.receive(QByteArray(2000, 'y'));
        QTextCursor c = f.chat->textCursor();
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
        QVERIFY(f.page.apSettingsExpected()); // 7 lines
        f.receive("2\r\n");
        QVERIFY(!f.page.apSettingsExpected());
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
        f.link.setTerminalMode(false);
        f.receive("hello\r\n");
        QCOMPARE(f.chat->toPlainText(), QString());
        f.link.setTerminalMode(false);
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
        QVERIFY(!f.page.apSettingsExpected());
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
        // The 8th line is still incomplete when the memo first holds 8 lines:
        // the form waits for its line break.
        const int cut = int(kAnswer.size()) - 3; // "...TX power:\r\n1" | "2\r\n"
        f.receive(kAnswer.left(20));
        QVERIFY(f.page.apSettingsExpected());
        f.receive(kAnswer.mid(20, cut - 20));
        QVERIFY(f.page.apSettingsExpected());
        QCOMPARE(f.power->value(), 0);
        QVERIFY(f.ssid->text().isEmpty());
        f.receive(kAnswer.mid(cut));
        QVERIFY(!f.page.apSettingsExpected());
        QCOMPARE(f.power->value(), 12);
        QCOMPARE(f.ssid->text(), QStringLiteral("LMK54-Home"));
        QCOMPARE(f.chat->toPlainText(), QString());
    }

    void fillInJumpOverEight() {
        Fixture f;
        f.enterPage();
        f.receive("first\r\n");
        f.receive(kAnswer); // 1 line -> 9 lines
        QVERIFY(f.page.apSettingsExpected());
        QVERIFY(f.ssid->text().isEmpty());
        // After "Clear" a later answer still fills the form.
        QTest::mouseClick(f.clear, Qt::LeftButton);
        f.receive(kAnswer);
        QVERIFY(!f.page.apSettingsExpected());
        QCOMPARE(f.ssid->text(), QStringLiteral("LMK54-Home"));
    }

    // A channel or power the spin edit cannot show is named, and "Set!"
    // refuses to send it until the user has set that field.
    void fillInOddNumbers_data() {
        QTest::addColumn<QString>("channelText");
        QTest::addColumn<QString>("powerText");
        QTest::addColumn<int>("channel"); // what the spin edits show
        QTest::addColumn<int>("power");
        QTest::addColumn<QStringList>("messages"); // shown, and by "Set!"
        const auto ch = [](const char *t) { return QString::fromLatin1(kChannelUnusableText).arg(t); };
        const auto pw = [](const char *t) { return QString::fromLatin1(kPowerUnusableText).arg(t); };
        QTest::newRow("blanks around") << " 11 " << "0" << 11 << 0 << QStringList{};
        QTest::newRow("power 25") << " 11 " << "25" << 11 << 4 << QStringList{pw("25")};
        QTest::newRow("channel 13") << "13" << "7" << 3 << 7 << QStringList{ch("13")};
        QTest::newRow("channel 12, power abc")
            << "12" << "abc" << 3 << 4 << QStringList{ch("12"), pw("abc")};
        QTest::newRow("empty values") << "" << "" << 3 << 4 << QStringList{ch(""), pw("")};
    }
    void fillInOddNumbers() {
        QFETCH(QString, channelText);
        QFETCH(QString, powerText);
        QFETCH(int, channel);
        QFETCH(int, power);
        QFETCH(QStringList, messages);
        Fixture f;
        f.page.show();
        f.channel->setValue(3);
        f.power->setValue(4);
        f.enterPage();
        f.receive(("a\r\nSSID-12345\r\nb\r\n0123456789012345678901\r\nc\r\n" + channelText +
                   "\r\nd\r\n" + powerText + "\r\n")
                      .toLatin1());
        QVERIFY(!f.page.apSettingsExpected());
        QCOMPARE(f.channel->value(), channel);
        QCOMPARE(f.power->value(), power);
        auto *label = f.page.findChild<QLabel *>("L_ApValues");
        QVERIFY(label);
        QCOMPARE(label->text(), messages.join(QLatin1Char('\n')));
        QVERIFY(!label->accessibleName().isEmpty());
        f.page.B_SetClick();
        QCOMPARE(f.dialogs.texts, messages);
        if (!messages.isEmpty()) {
            QVERIFY(f.sent.isEmpty());
            QVERIFY(f.set->isEnabled());
            // The user sets the fields, by keyboard; then "Set!" sends them.
            f.dialogs.texts.clear();
            QTest::keyClick(f.channel, Qt::Key_Up);
            QTest::keyClick(f.power, Qt::Key_Down);
            QCOMPARE(label->text(), QString());
            f.page.B_SetClick();
            QVERIFY(f.dialogs.texts.isEmpty());
        }
        QCOMPARE(f.sent.size(), 1);
        QCOMPARE(f.sent[0].mid(65, 2),
                 QString::number(f.channel->value()).leftJustified(2).toLatin1());
        QCOMPARE(f.sent[0].mid(78, 2),
                 QString::number(f.power->value()).leftJustified(2).toLatin1());
    }

    void laterAnswerReplacesReportedValue() {
        Fixture f;
        f.enterPage();
        f.receive("a\r\nSSID-12345\r\nb\r\n0123456789012345678901\r\nc\r\n13\r\nd\r\n5\r\n");
        QVERIFY(!f.page.findChild<QLabel *>("L_ApValues")->text().isEmpty());
        // The next visit's answer is one the form can show: it is sent.
        f.enterPage();
        f.receive("a\r\nSSID-12345\r\nb\r\n0123456789012345678901\r\nc\r\n0\r\nd\r\n5\r\n");
        QVERIFY(f.page.findChild<QLabel *>("L_ApValues")->text().isEmpty());
        f.page.B_SetClick();
        QVERIFY(f.dialogs.texts.isEmpty());
        QCOMPARE(f.sent.size(), 1);
        QCOMPARE(f.sent[0].mid(65, 2), QByteArray("0 "));
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
        QVERIFY(!f.link.exchangeRunning()); // nothing waits for an answer
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
        // Texts longer than their field would reach the module cut short.
        QTest::newRow("ssid of 11")
            << s10 + "X" << p22 << true
            << QStringList{QString::fromLatin1(kSsidTooLongText).arg(s10 + "X")};
        QTest::newRow("ssid with a character outside Latin-1")
            << "LMK5x-€-01" << p22 << true
            << QStringList{QString::fromLatin1(kSsidCharactersText).arg("LMK5x-€-01", "€")};
        QTest::newRow("passkey with line breaks")
            << s10 << p22.left(10) + "\r\n" + p22.left(10) << true
            << QStringList{QString::fromLatin1(kPasskeyCharactersText)
                               .arg(p22.left(10) + "\r\n" + p22.left(10), "CR LF")};
        QTest::newRow("passkey of 23, no usb")
            << s10 << p22 + "X" << false
            << QStringList{QString::fromLatin1(kPasskeyTooLongText).arg(p22 + "X"),
                           "No USB connection available!"};
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

    // A text from the receiver longer than its field is refused, not cut:
    // the module gets what the field shows, once the user has shortened it.
    void setRefusesLongFilledInTexts() {
        Fixture f;
        f.page.show();
        f.enterPage();
        f.receive("1\r\nABCDEFGHIJKLMNOP\r\n3\r\n0123456789012345678901XYZ\r\n5\r\n3\r\n7\r\n5\r\n");
        QCOMPARE(f.ssid->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(f.pass->text(), QStringLiteral("0123456789012345678901XYZ"));
        f.page.B_SetClick();
        QCOMPARE(f.dialogs.texts,
                 (QStringList{QString::fromLatin1(kSsidTooLongText).arg("ABCDEFGHIJKLMNOP"),
                              QString::fromLatin1(kPasskeyTooLongText)
                                  .arg("0123456789012345678901XYZ")}));
        QVERIFY(f.sent.isEmpty());
        QVERIFY(f.set->isEnabled());
        f.dialogs.texts.clear();
        f.ssid->setFocus();
        f.ssid->end(false);
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(f.ssid, Qt::Key_Backspace);
        f.pass->end(false);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(f.pass, Qt::Key_Backspace);
        f.page.B_SetClick();
        QVERIFY(f.dialogs.texts.isEmpty());
        QCOMPARE(f.sent.size(), 1);
        QCOMPARE(f.sent[0].size(), 88);
        QCOMPARE(f.sent[0].mid(11, 10), QByteArray("ABCDEFGHIJ"));
        QCOMPARE(f.sent[0].mid(32, 22), QByteArray("0123456789012345678901"));
        QCOMPARE(f.sent[0].mid(65, 2), QByteArray("3 "));
        QCOMPARE(f.sent[0].mid(78, 2), QByteArray("5 "));
    }

    // Timestamps, hex, the sent mark and the font are view only: the line
    // typed goes out as typed in every view.
    void viewsKeepTheWire_data() {
        QTest::addColumn<bool>("timestamps");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<bool>("monospace");
        QTest::addColumn<QString>("shown"); // a pattern for the session view; empty: M_Chat
        const QString t = QStringLiteral("\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ");
        QTest::newRow("plain") << false << false << false << QString();
        QTest::newRow("monospace") << false << false << true << QString();
        QTest::newRow("timestamps") << true << false << false
                                    << "^" + t + "\\[TX\\] ver\n" + t + "LMK540 V103\n$";
        QTest::newRow("hex") << false << true << false
                             << QStringLiteral("^\\[TX\\] 00000000  76 65 72 0d 0a .*\\|ver\\.\\.\\|\n"
                                               "00000000  4c 4d 4b .*\\|LMK540 V103\\.\\.\\|\n$");
        QTest::newRow("hex and timestamps")
            << true << true << true << "^" + t + "\\[TX\\] 00000000  76 .*\n" + t + "00000000  4c .*\n$";
    }
    void viewsKeepTheWire() {
        QFETCH(bool, timestamps);
        QFETCH(bool, hex);
        QFETCH(bool, monospace);
        QFETCH(QString, shown);
        Fixture f;
        f.page.show();
        child<QCheckBox>(f.page, "CB_Timestamps")->setChecked(timestamps);
        child<QCheckBox>(f.page, "CB_Hex")->setChecked(hex);
        child<QCheckBox>(f.page, "CB_Monospace")->setChecked(monospace);
        auto *session = child<QPlainTextEdit>(f.page, "M_Session");
        auto *line = child<QLineEdit>(f.page, "E_Line");
        QVERIFY(session && line);
        QCOMPARE(session->isVisible(), !shown.isEmpty());
        QCOMPARE(line->isVisible(), !shown.isEmpty());
        QCOMPARE(f.chat->isVisible(), shown.isEmpty());
        QCOMPARE(QFontInfo(f.chat->font()).fixedPitch() || QFontInfo(line->font()).fixedPitch(),
                 monospace);
        QWidget *typeInto = shown.isEmpty() ? static_cast<QWidget *>(f.chat) : line;
        QTest::keyClicks(typeInto, QStringLiteral("ver"));
        QTest::keyClick(typeInto, Qt::Key_Return);
        QCOMPARE(f.sent, QList<QByteArray>{kVerFrame});
        f.receive("LMK540 V103\r\n");
        // The terminal text is the same in every view.
        QCOMPARE(f.chat->toPlainText(), QStringLiteral("ver\nLMK540 V103\n"));
        if (!shown.isEmpty())
            QVERIFY2(QRegularExpression(shown).match(session->toPlainText()).hasMatch(),
                     qPrintable(session->toPlainText()));
        QCOMPARE(child<QLabel>(f.page, "L_Counters")->text(),
                 QStringLiteral("RX: 13 bytes   TX: 10 bytes"));
        QVERIFY(f.dialogs.texts.isEmpty());
    }

    // Ctrl+Up and Ctrl+Down recall sent lines into the line being typed;
    // Enter sends the recalled line, edited or not.
    void historyRecall_data() {
        QTest::addColumn<bool>("inLineField");
        QTest::newRow("in the memo") << false;
        QTest::newRow("in the line field") << true;
    }
    void historyRecall() {
        QFETCH(bool, inLineField);
        Fixture f;
        f.page.show();
        child<QCheckBox>(f.page, "CB_Timestamps")->setChecked(inLineField);
        auto *line = child<QLineEdit>(f.page, "E_Line");
        QWidget *w = inLineField ? static_cast<QWidget *>(line) : f.chat;
        auto typed = [&] {
            return inLineField ? line->text()
                               : static_cast<ChatMemo *>(f.chat)->currentInput();
        };
        for (const char *l : {"ver", "help", "ap"}) {
            QTest::keyClicks(w, QLatin1String(l));
            QTest::keyClick(w, Qt::Key_Return);
        }
        f.receive("lmk> "); // a prompt: recalled lines go after it
        QTest::keyClicks(w, QStringLiteral("draft"));
        recallKey(w, -1);
        QCOMPARE(typed(), QStringLiteral("ap"));
        recallKey(w, -1);
        recallKey(w, -1);
        QCOMPARE(typed(), QStringLiteral("ver"));
        recallKey(w, -1); // nothing older
        QCOMPARE(typed(), QStringLiteral("ver"));
        recallKey(w, 1);
        QCOMPARE(typed(), QStringLiteral("help"));
        recallKey(w, 1);
        recallKey(w, 1);
        QCOMPARE(typed(), QStringLiteral("draft"));
        recallKey(w, -1);
        recallKey(w, -1);
        recallKey(w, -1);
        QCOMPARE(typed(), QStringLiteral("ver"));
        f.sent.clear();
        QTest::keyClick(w, Qt::Key_Return);
        // The memo sends its last line (the prompt with it), the line field
        // its text.
        QCOMPARE(f.sent, QList<QByteArray>{*terminalLineFrame(inLineField ? "ver" : "lmk> ver")});

        // Kept between runs.
        TerminalPage again(f.link);
        auto *line2 = child<QLineEdit>(again, "E_Line");
        again.show();
        QVERIFY(line2->isVisible() == inLineField);
        if (inLineField) {
            recallKey(line2, -1);
            QCOMPARE(line2->text(), QStringLiteral("ver")); // the newest
            recallKey(line2, -1);
            QCOMPARE(line2->text(), QStringLiteral("ap"));
        }
    }

    // The scrollback keeps the newest lines; the log keeps everything.
    void scrollbackBound() {
        Fixture f;
        auto *scrollback = child<QSpinBox>(f.page, "SE_Scrollback");
        QCOMPARE(scrollback->value(), 10000);
        scrollback->setValue(100);
        const QString log = m_dir.filePath("scrollback.log");
        f.dialogs.files.enqueue(log);
        child<QPushButton>(f.page, "B_Log")->click();
        QVERIFY(f.page.logging());
        for (int i = 1; i <= 250; ++i)
            f.receive(QByteArray("line ") + QByteArray::number(i) + "\r\n");
        QVERIFY(f.chat->blockCount() <= 100);
        QVERIFY(f.chat->document()->lastBlock().previous().text() == QStringLiteral("line 250"));
        QVERIFY(!f.chat->toPlainText().contains(QStringLiteral("line 150\n")));
        QVERIFY(f.chat->toPlainText().contains(QStringLiteral("line 200\n")));
        child<QCheckBox>(f.page, "CB_Timestamps")->setChecked(true);
        auto *session = child<QPlainTextEdit>(f.page, "M_Session");
        QVERIFY(session->blockCount() <= 101);
        QVERIFY(session->toPlainText().contains(QStringLiteral(" line 250\n")));
        QVERIFY(!session->toPlainText().contains(QStringLiteral(" line 150\n")));
        child<QPushButton>(f.page, "B_Log")->click();
        QVERIFY(!f.page.logging());
        const QList<QByteArray> lines = fileContents(log).split('\n');
        QCOMPARE(lines.size(), 251);
        QVERIFY(lines.first().endsWith(" RX line 1"));
        QVERIFY(lines[249].endsWith(" RX line 250"));
    }

    void logButton() {
        Fixture f;
        auto *log = child<QPushButton>(f.page, "B_Log");
        QCOMPARE(log->text(), QStringLiteral("Log…"));
        // Cancelled: no log.
        log->click();
        QVERIFY(!f.page.logging());
        QVERIFY(!log->isChecked());
        // A file that cannot be opened.
        f.dialogs.files.enqueue(m_dir.filePath("no/such/folder/x.log"));
        log->click();
        QVERIFY(!f.page.logging());
        QCOMPARE(f.dialogs.texts.size(), 1);
        QVERIFY(f.dialogs.texts[0].startsWith("Cannot open the log file"));
        f.dialogs.clear();
        const QString path = m_dir.filePath("button.log");
        f.dialogs.files.enqueue(path);
        log->click();
        QVERIFY(f.page.logging());
        QVERIFY(log->isChecked());
        QVERIFY(child<QLabel>(f.page, "L_LogFile")->text().contains("button.log"));
        QTest::keyClicks(f.chat, QStringLiteral("ver"));
        QTest::keyClick(f.chat, Qt::Key_Return);
        f.receive("LMK540 ");
        f.receive("V103\r\nGr\xfc\xdf" "e");
        // Each line is on disk as soon as it is complete.
        const QByteArray sofar = fileContents(path);
        QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} TX ver\n"
                                    "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} RX LMK540 V103\n$")
                     .match(QString::fromUtf8(sofar))
                     .hasMatch(),
                 sofar.constData());
        log->click(); // stops: the open line is written, in UTF-8
        QVERIFY(fileContents(path).endsWith(" RX Gr\xc3\xbc\xc3\x9f" "e\n"));
        QVERIFY(f.dialogs.texts.isEmpty());
        QCOMPARE(f.sent, QList<QByteArray>{kVerFrame});
    }

    void logKeptWhenThePageGoes() {
        const QString path = m_dir.filePath("end.log");
        {
            Fixture f;
            f.dialogs.files.enqueue(path);
            child<QPushButton>(f.page, "B_Log")->click();
            f.receive("no line end");
        }
        QVERIFY(fileContents(path).endsWith(" RX no line end\n"));
    }

    void find() {
        Fixture f;
        f.page.show();
        f.receive("alpha\r\nbeta V103\r\ngamma V103\r\n");
        auto *field = child<QLineEdit>(f.page, "E_Find");
        auto *result = child<QLabel>(f.page, "L_Find");
        QVERIFY(field && result);
        // Ctrl+F goes to the search field.
        f.page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.page));
        f.chat->setFocus();
        QTest::keyClick(f.chat, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, QStringLiteral("V103"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(f.chat->textCursor().selectedText(), QStringLiteral("V103"));
        const int first = f.chat->textCursor().position();
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(f.chat->textCursor().position() > first);
        QTest::keyClick(field, Qt::Key_Return); // from the top again
        QCOMPARE(f.chat->textCursor().position(), first);
        QVERIFY(result->text().isEmpty());
        field->setText(QStringLiteral("delta"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(result->text(), QStringLiteral("\"delta\" not found"));
        QVERIFY(f.sent.isEmpty());
    }

    void choicesRemembered() {
        {
            Fixture f;
            child<QCheckBox>(f.page, "CB_Timestamps")->setChecked(true);
            child<QCheckBox>(f.page, "CB_Monospace")->setChecked(true);
            child<QSpinBox>(f.page, "SE_Scrollback")->setValue(500);
        }
        Fixture f;
        QVERIFY(child<QCheckBox>(f.page, "CB_Timestamps")->isChecked());
        QVERIFY(!child<QCheckBox>(f.page, "CB_Hex")->isChecked());
        QVERIFY(child<QCheckBox>(f.page, "CB_Monospace")->isChecked());
        QCOMPARE(child<QSpinBox>(f.page, "SE_Scrollback")->value(), 500);
        QCOMPARE(f.chat->maximumBlockCount(), 500);
        QVERIFY(QFontInfo(f.chat->font()).fixedPitch());
    }
};

QTEST_MAIN(TstTerminalPage)
#include "tst_terminalpage.moc"
