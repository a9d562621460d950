#include "memory/SlotEditHistory.h"

namespace lmk {

SlotEditHistory::SlotEditHistory(QObject *parent) : QObject(parent) {}

void SlotEditHistory::record(const QString &text, const QByteArray &before,
                             const QByteArray &after) {
    if (before == after)
        return;
    const bool wasClean = isClean();
    const qsizetype common = qMin(before.size(), after.size());
    qsizetype head = 0;
    while (head < common && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < common - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    Step step;
    step.text = text;
    step.offset = head;
    step.before = before.mid(head, before.size() - head - tail);
    step.after = after.mid(head, after.size() - head - tail);

    if (m_clean > m_index)
        m_clean = -1; // the saved state was undone and is now dropped
    m_steps.resize(m_index);
    m_steps << step;
    if (m_steps.size() > kLimit) {
        m_steps.removeFirst();
        m_clean = m_clean > 0 ? m_clean - 1 : -1;
    }
    m_index = m_steps.size();
    notify(wasClean);
}

QString SlotEditHistory::undoText() const {
    return canUndo() ? m_steps[m_index - 1].text : QString();
}

QString SlotEditHistory::redoText() const {
    return canRedo() ? m_steps[m_index].text : QString();
}

QByteArray SlotEditHistory::replaced(const QByteArray &image, qsizetype offset,
                                     qsizetype oldLength, const QByteArray &with) {
    QByteArray out = image;
    out.replace(offset, oldLength, with);
    return out;
}

std::optional<QByteArray> SlotEditHistory::undo(const QByteArray &current) {
    if (!canUndo())
        return std::nullopt;
    const bool wasClean = isClean();
    const Step &s = m_steps[--m_index];
    const QByteArray out = replaced(current, s.offset, s.after.size(), s.before);
    notify(wasClean);
    return out;
}

std::optional<QByteArray> SlotEditHistory::redo(const QByteArray &current) {
    if (!canRedo())
        return std::nullopt;
    const bool wasClean = isClean();
    const Step &s = m_steps[m_index++];
    const QByteArray out = replaced(current, s.offset, s.before.size(), s.after);
    notify(wasClean);
    return out;
}

void SlotEditHistory::setClean() {
    const bool wasClean = isClean();
    m_clean = m_index;
    notify(wasClean);
}

void SlotEditHistory::clear() {
    const bool wasClean = isClean();
    m_steps.clear();
    m_index = 0;
    m_clean = 0;
    notify(wasClean);
}

void SlotEditHistory::notify(bool wasClean) {
    emit changed();
    if (wasClean != isClean())
        emit cleanChanged(isClean());
}

} // namespace lmk
