#include "memory/SlotRecord.h"

#include <QtEndian>

namespace lmk {

SlotNumberFormat SlotNumberFormat::inEnglish() {
    SlotNumberFormat f(QLocale(QLocale::English, QLocale::UnitedStates));
    f.english = true;
    return f;
}

SlotNumberFormat SlotNumberFormat::inGerman() {
    return SlotNumberFormat(QLocale(QLocale::German, QLocale::Germany));
}

QStringList slotGridHeadings() {
    return {
        QStringLiteral("Platz"),      QStringLiteral("Name"),       QStringLiteral("Frequenz"),
        QStringLiteral("Modulation"), QStringLiteral("Bandbreite"), QStringLiteral("Verschiebung"),
        QStringLiteral("Hochpass"),   QStringLiteral("Eingang"),    QStringLiteral("Abschwächer"),
        QStringLiteral("Filter HP"),  QStringLiteral("Filter TP"),  QStringLiteral("Version")};
}

std::array<int, SlotColumnCount> slotGridColumnWidths() {
    return {40, 152, 75, 60, 58, 72, 55, 48, 72, 49, 47, 41};
}

QString slotNameText(const quint8 *record) {
    const char *name = reinterpret_cast<const char *>(record + slot::kName);
    int len = 0;
    while (len < slot::kNameLength && name[len] != 0)
        ++len;
    return QString::fromLatin1(name, len);
}

namespace {
// The locale's grouping and separators, but ASCII digits: a locale with
// digits of its own (Arabic-Indic, ...) would mix them with the fill
// characters "0" and ".".
QString withAsciiDigits(const QString &text, const QLocale &locale) {
    const QList<uint> zero = locale.zeroDigit().toUcs4();
    if (zero.size() != 1 || zero[0] == '0')
        return text;
    QString out;
    for (uint cp : text.toUcs4()) {
        if (cp >= zero[0] && cp <= zero[0] + 9)
            out += QChar(char16_t(u'0' + (cp - zero[0])));
        else
            out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&cp), 1);
    }
    return out;
}

QString groupedNumber(qint64 value, const QLocale &locale) {
    return withAsciiDigits(locale.toString(value), locale);
}
} // namespace

QString slotFrequencyText(qint32 tenths, const SlotNumberFormat &format) {
    const QLocale &locale = format.locale;
    // Whole and tenth part in integers, so every value shows exactly.
    const qint64 v = tenths;
    const qint64 magnitude = v < 0 ? -v : v;
    QString text = groupedNumber(magnitude / 10, locale) + locale.decimalPoint() +
                   QString::number(magnitude % 10);
    if (v < 0)
        text.prepend(locale.negativeSign());
    const QString fill = format.english ? locale.groupSeparator() : QStringLiteral(".");
    while (text.size() < 12)
        text.prepend((text.size() == 5 || text.size() == 9) ? fill : QStringLiteral("0"));
    return text;
}

QString slotBandwidthText(quint16 value, const SlotNumberFormat &format) {
    return groupedNumber(value, format.locale);
}

QString slotShiftText(qint16 value, const SlotNumberFormat &format) {
    return (value > 0 ? QStringLiteral(" +") : QStringLiteral("  ")) +
           groupedNumber(value, format.locale);
}

std::optional<QString> slotModulationText(quint8 index) {
    static const char *const texts[] = {"Auto", "DSB", "LSB", "USB", "SSB", "CW"};
    if (index < std::size(texts))
        return QString::fromLatin1(texts[index]);
    return std::nullopt;
}

std::optional<QString> slotFilterHpText(quint8 index) {
    static const char *const texts[] = {"Auto", "1,8M", "3,5M", "7,0M", "10M", "14M", "50M", "AUS"};
    if (index < std::size(texts))
        return QString::fromLatin1(texts[index]);
    return std::nullopt;
}

std::optional<QString> slotFilterTpText(quint8 index) {
    static const char *const texts[] = {"Auto", "170k", "2,0M", "3,8M",
                                        "7,2M", "11M",  "54M",  "AUS"};
    if (index < std::size(texts))
        return QString::fromLatin1(texts[index]);
    return std::nullopt;
}

QString slotTableText(const QString &text, const SlotNumberFormat &format) {
    if (!format.english)
        return text;
    if (text == QLatin1String("AUS")) // the filter switched off
        return QStringLiteral("Off");
    QString out = text;
    return out.replace(QLatin1Char(','), QLatin1Char('.'));
}

namespace {
std::optional<QString> inFormat(const std::optional<QString> &text,
                                const SlotNumberFormat &format) {
    if (!text)
        return text;
    return slotTableText(*text, format);
}
} // namespace

QString slotHochpassText(quint8 value) {
    return value ? QStringLiteral(" 1 kHz") : QStringLiteral("75 kHz");
}

QString slotEingangText(quint8 value) {
    return value ? QStringLiteral(" 0 Ohm") : QStringLiteral("50 Ohm");
}

QString slotAbschwaecherText(quint8 value) {
    return value ? QStringLiteral("20 dB") : QStringLiteral(" 0 dB");
}

SlotRowTexts slotRowTexts(const quint8 *r, const SlotNumberFormat &format) {
    SlotRowTexts t;
    t[ColName] = slotNameText(r);
    t[ColFrequenz] = slotFrequencyText(qFromLittleEndian<qint32>(r + slot::kFrequency), format);
    t[ColModulation] = slotModulationText(r[slot::kModulation]);
    t[ColBandbreite] = slotBandwidthText(qFromLittleEndian<quint16>(r + slot::kBandwidth), format);
    t[ColVerschiebung] = slotShiftText(qFromLittleEndian<qint16>(r + slot::kShift), format);
    t[ColHochpass] = slotHochpassText(r[slot::kHochpass]);
    t[ColEingang] = slotEingangText(r[slot::kEingang]);
    t[ColAbschwaecher] = slotAbschwaecherText(r[slot::kAbschwaecher]);
    t[ColFilterHp] = inFormat(slotFilterHpText(r[slot::kFilterHp]), format);
    t[ColFilterTp] = inFormat(slotFilterTpText(r[slot::kFilterTp]), format);
    t[ColVersion] = QString::number(r[slot::kVersion] & 0x0F);
    return t;
}

QString slotUnknownTableText(quint8 index) {
    return QStringLiteral("? (%1)").arg(index);
}

QByteArray encodeSlotName(const QString &text) {
    // One byte per character, counted in code points: a character outside
    // Latin-1 (also one written as a surrogate pair) becomes one '?'.
    QByteArray bytes;
    for (uint cp : text.toUcs4())
        bytes.append(cp <= 0xFF ? char(cp) : '?');
    if (bytes.size() < slot::kNameLength)
        bytes.append(slot::kNameLength - bytes.size(), ' ');
    return bytes;
}

std::optional<quint8> encodeSlotVersion(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 2)
        return std::nullopt;
    int v = 0;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    if (v > 15)
        return std::nullopt;
    return quint8(0xC0 | v);
}

QString slotBytesText(qint64 slot) {
    if (slot == kSlotCount)
        return QStringLiteral("16128  OK!");
    return QString::number(slot * kSlotSize);
}

} // namespace lmk
