// Arbitrary receiver text in arbitrary pieces reaching the "USB Terminal"
// page while it waits for the access-point settings: the memo counts lines as
// the fill-in rule does, the form is filled exactly when the text holds
// exactly 8 lines ending in a line break, with lines 1 and 3 in the text
// fields, and the memo is emptied then.
//
// Input layout: byte 0 seeds the piece sizes; the rest is the received text.
#include "FuzzApp.h"
#include "link/DeviceLink.h"
#include "terminal/TerminalFrames.h"
#include "terminal/ui/ChatMemo.h"
#include "terminal/ui/TerminalPage.h"

#include <QLineEdit>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace lmk;

namespace {
// The page is made before the first input, so that no input's time limit
// pays for the application and the window.
struct Fixture {
    DeviceLink link;
    TerminalPage page{link};
    ChatMemo *memo = page.findChild<ChatMemo *>(QStringLiteral("M_Chat"));
    QLineEdit *ssid = page.findChild<QLineEdit *>(QStringLiteral("E_SSID"));
    QLineEdit *pass = page.findChild<QLineEdit *>(QStringLiteral("E_Pass"));
};
Fixture *fixture = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    fuzzApp();
    fixture = new Fixture;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    DeviceLink &link = fixture->link;
    ChatMemo *memo = fixture->memo;
    QLineEdit *ssid = fixture->ssid;
    QLineEdit *pass = fixture->pass;
    if (size < 1 || size > 4096)
        return 0;
    link.setTerminalMode(true);
    fixture->page.expectApSettings(true);
    memo->clearText();
    ssid->clear();
    pass->clear();
    unsigned seed = data[0] | 1u;
    size_t at = 1;
    while (at < size) {
        seed = seed * 1103515245u + 12345u;
        const size_t n = std::min<size_t>(size - at, 1 + (seed >> 16) % 48);
        const std::vector<uint8_t> piece(data + at, data + at + n);
        at += n;
        const bool pending = fixture->page.apSettingsExpected();
        const bool ack = isLineAcknowledgement(piece.data(), int(n));
        const QStringList expected = terminalLines(
            memo->chatText() +
            (ack ? QString() : fromTerminalBytes(reinterpret_cast<const char *>(piece.data()), int(n))));
        link.deliverPayload(QByteArray(reinterpret_cast<const char *>(piece.data()), int(n)), false);
        const QString text = memo->chatText();
        const QStringList lines = terminalLines(text);
        if (memo->lineCount(8) != std::min<qsizetype>(lines.size(), 9))
            std::abort(); // the memo and the rule disagree on the lines
        if (pending && !fixture->page.apSettingsExpected()) {
            if (!text.isEmpty())
                std::abort(); // filled in, but the answer is still shown
            if (expected.size() != kApAnswerLines || ssid->text() != expected[1] ||
                pass->text() != expected[3])
                std::abort(); // filled from other lines than the answer's
        } else if (pending && lines.size() == kApAnswerLines && endsWithLineBreak(text)) {
            std::abort(); // 8 whole lines and no fill-in
        }
    }
    return 0;
}
