#include "memory/SlotRecord.h"

#include <QtEndian>

namespace lmk {

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

QString slotFrequencyText(qint32 tenths, const QLocale &locale) {
    // Whole and tenth part in integers, so every value shows exactly.
    const qint64 v = tenths;
    const qint64 magnitude = v < 0 ? -v : v;
    QString text =
        locale.toString(magnitude / 10) + locale.decimalPoint() + QString::number(magnitude % 10);
    if (v < 0)
        text.prepend(locale.negativeSign());
    while (text.size() < 12)
        text.prepend((text.size() == 5 || text.size() == 9) ? QLatin1Char('.') : QLatin1Char('0'));
    return text;
}

QString slotBandwidthText(quint16 value, const QLocale &locale) {
    return locale.toString(uint(value));
}

QString slotShiftText(qint16 value, const QLocale &locale) {
    return (value > 0 ? QStringLiteral(" +") : QStringLiteral("  ")) + locale.toString(int(value));
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

QString slotHochpassText(quint8 value) {
    return value ? QStringLiteral(" 1 kHz") : QStringLiteral("75 kHz");
}

QString slotEingangText(quint8 value) {
    return value ? QStringLiteral(" 0 Ohm") : QStringLiteral("50 Ohm");
}

QString slotAbschwaecherText(quint8 value) {
    return value ? QStringLiteral("20 dB") : QStringLiteral(" 0 dB");
}

SlotRowTexts slotRowTexts(const quint8 *r, const QLocale &locale) {
    SlotRowTexts t;
    t[ColName] = slotNameText(r);
    t[ColFrequenz] = slotFrequencyText(qFromLittleEndian<qint32>(r + slot::kFrequency), locale);
    t[ColModulation] = slotModulationText(r[slot::kModulation]);
    t[ColBandbreite] = slotBandwidthText(qFromLittleEndian<quint16>(r + slot::kBandwidth), locale);
    t[ColVerschiebung] = slotShiftText(qFromLittleEndian<qint16>(r + slot::kShift), locale);
    t[ColHochpass] = slotHochpassText(r[slot::kHochpass]);
    t[ColEingang] = slotEingangText(r[slot::kEingang]);
    t[ColAbschwaecher] = slotAbschwaecherText(r[slot::kAbschwaecher]);
    t[ColFilterHp] = slotFilterHpText(r[slot::kFilterHp]);
    t[ColFilterTp] = slotFilterTpText(r[slot::kFilterTp]);
    t[ColVersion] = QString::number(r[slot::kVersion] & 0x0F);
    return t;
}

QByteArray encodeSlotName(const QString &text) {
    QByteArray bytes = text.toLatin1();
    if (bytes.size() < slot::kNameLength)
        bytes.append(slot::kNameLength - bytes.size(), ' ');
    return bytes;
}

std::optional<quint8> encodeSlotVersion(const QString &text) {
    if (text.isEmpty())
        return std::nullopt;
    return quint8(0xC0 | (text.at(0).unicode() & 0x0F));
}

QString slotBytesText(qint64 slot) {
    if (slot == kSlotCount)
        return QStringLiteral("16128  OK!");
    return QString::number(slot * kSlotSize);
}

} // namespace lmk
