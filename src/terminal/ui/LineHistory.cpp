#include "terminal/ui/LineHistory.h"

#include <utility>

namespace lmk {

void LineHistory::setLines(const QStringList &lines) {
    m_lines = lines;
    if (m_lines.size() > m_limit)
        m_lines = m_lines.mid(m_lines.size() - m_limit);
    resetRecall();
}

void LineHistory::add(const QString &line) {
    resetRecall();
    if (line.isEmpty() || (!m_lines.isEmpty() && m_lines.last() == line))
        return;
    m_lines << line;
    if (m_lines.size() > m_limit)
        m_lines.removeFirst();
}

std::optional<QString> LineHistory::older(const QString &current) {
    if (m_lines.isEmpty() || m_at == 0)
        return std::nullopt;
    if (m_at < 0) {
        m_draft = current;
        m_at = m_lines.size();
    }
    return m_lines[--m_at];
}

std::optional<QString> LineHistory::newer() {
    if (m_at < 0)
        return std::nullopt;
    if (++m_at >= m_lines.size()) {
        m_at = -1;
        return std::exchange(m_draft, QString());
    }
    return m_lines[m_at];
}

void LineHistory::resetRecall() {
    m_at = -1;
    m_draft.clear();
}

} // namespace lmk
