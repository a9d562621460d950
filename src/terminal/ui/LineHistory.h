#pragma once
// The lines sent from the terminal page, newest last, for recalling them
// (Ctrl+Up, Ctrl+Down) as a shell does: the first step back keeps the line
// being typed, and stepping forward past the newest line brings it back.

#include <QString>
#include <QStringList>

#include <optional>

namespace lmk {

class LineHistory {
public:
    static constexpr int kDefaultLimit = 500;
    explicit LineHistory(int limit = kDefaultLimit) : m_limit(limit) {}

    // Replaces the lines (as kept between runs); the newest `limit` stay.
    void setLines(const QStringList &lines);
    QStringList lines() const { return m_lines; }
    int limit() const { return m_limit; }

    // A line was sent: kept unless empty or the same as the newest; the
    // recall starts again from the newest.
    void add(const QString &line);
    // The line before the one shown; `current` is what is typed now. Nothing
    // when there is no older line.
    std::optional<QString> older(const QString &current);
    // The line after the one shown, or the line that was being typed;
    // nothing when no recall is going on.
    std::optional<QString> newer();
    void resetRecall();

private:
    QStringList m_lines;
    int m_limit;
    qsizetype m_at = -1; // the line shown; -1: none (typing)
    QString m_draft;
};

} // namespace lmk
