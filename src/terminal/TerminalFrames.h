#pragma once
// Wire formats of the "USB Terminal" page and the rules on its text.
//
// Terminal line frame, PC to receiver (L = number of characters of the line):
//   19  L+2  <line>  0D 0A  00  <zero filler up to a multiple of 5>
// The line "ver" goes out as 10 bytes:
//   19 05 76 65 72 0D 0A 00 00 00
// The empty line as 5 bytes: 19 02 0D 0A 00. The count byte holds L + 2, so a
// line carries at most 253 characters; a longer one is refused.
//
// Line acknowledgement, receiver to PC: exactly 4 bytes, the first 00
// (00 00 00 00). Any other payload is text, one character per byte.
//
// Access-point configuration frame, PC to receiver, always 88 bytes, five
// command lines for the WiFi module in one terminal text frame (no zero byte,
// no filler):
//   19 56 "set so s " <SSID, 10> 0D 0A
//         "set so p " <passkey, 22> 0D 0A
//         "set so c " <channel, 2> 0D 0A
//         "set wl t " <power, 2> 0D 0A "save" 0D 0A
// SSID "ABCDEFGHIJ", passkey "0123456789012345678901", channel "6", power
// "19" gives ... 73 65 74 20 73 6F 20 63 20 36 20 0D 0A ("set so c 6 ") ...
// 73 65 74 20 77 6C 20 74 20 31 39 0D 0A ("set wl t 19") ...
//
// The receiver answers the terminal mode switch 0D 01 with its current
// access-point settings as 8 text lines; lines 1, 3, 5 and 7 (from 0) are the
// SSID, the passkey, the channel and the power:
//   "SSID:" 0D 0A "LMK5x-0001" 0D 0A "Passkey:" 0D 0A <22 characters> 0D 0A
//   "Channel:" 0D 0A "6" 0D 0A "TX-Power (dBm):" 0D 0A "12" 0D 0A
// The answer counts only once its 8th line has its line break: it may come
// in pieces, cut anywhere, even inside a value.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace lmk {

constexpr quint8 kTerminalTextCode = 0x19;
constexpr int kMaxTerminalLine = 253; // the count byte holds L + 2
constexpr int kApFrameSize = 88;
constexpr int kSsidLength = 10;
constexpr int kPasskeyLength = 22;
constexpr int kApAnswerLines = 8;
constexpr int kChannelMin = 0, kChannelMax = 11;
constexpr int kPowerMin = 0, kPowerMax = 19;

// Total length of the frame for a line of `length` characters: L + 5 rounded
// up to a multiple of 5.
int terminalLineFrameSize(int length);

// The frame for one line (8-bit characters, without its line end); nothing
// when the line is longer than kMaxTerminalLine.
std::optional<QByteArray> terminalLineFrame(const QByteArray &line);

// A characters to bytes conversion of the terminal: one byte per character,
// characters outside Latin-1 become '?'.
QByteArray toTerminalBytes(const QString &text);
// The characters of `text` that have no byte of their own (outside
// Latin-1), each once, in order; empty when every character can be sent.
QString unsendableCharacters(const QString &text);
QString fromTerminalBytes(const char *bytes, int length);

// Exactly 4 bytes whose first byte is 0.
bool isLineAcknowledgement(const quint8 *payload, int length);

// The lines of the terminal text: the pieces between line breaks (CR LF),
// where an empty piece after a final line break is not counted. "abc\r\n" has
// one line, "" none. A single CR or LF is a character of its line:
// "a\rb\nc\r\n" is one line.
QStringList terminalLines(const QString &text);
// The text ends with a line break (CR LF): its last line is complete.
bool endsWithLineBreak(const QString &text);

// The access-point settings as the form holds them: texts, not numbers.
struct ApSettings {
    QString ssid;
    QString passkey;
    QString channel;
    QString power;
    bool operator==(const ApSettings &) const = default;
};

// Fill-in rule: from a text of exactly 8 lines, lines 1, 3, 5 and 7.
std::optional<ApSettings> apSettingsFromLines(const QStringList &lines);

// A channel or power text as the form's spin edit takes it: a decimal number
// from min to max, blanks around it allowed. Nothing for anything else ("13"
// as a channel, "abc", "").
std::optional<int> apFieldNumber(const QString &text, int min, int max);

// The 88-byte configuration frame. Every field has its fixed width: a longer
// text gives only its first characters, a shorter one is filled up with
// spaces (a one-digit channel or power is followed by a space).
QByteArray apConfigFrame(const ApSettings &settings);

} // namespace lmk
