#pragma once
// Dialogs for tests: record every text, return prepared answers, never block.

#include "link/Dialogs.h"

#include <QQueue>
#include <QStringList>

namespace lmk {

class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() { setDialogs(this); }
    ~ScriptedDialogs() override { setDialogs(nullptr); }

    // Every text shown (information boxes and questions), in order.
    QStringList texts;
    // Answers for questions (true = Yes/OK); empty: answer `defaultAnswer`.
    QQueue<bool> answers;
    bool defaultAnswer = false;
    // Paths returned by the file dialogs, in order; empty: cancelled.
    QQueue<QString> files;
    // Colour returned by the colour dialog; nothing: cancelled.
    std::optional<quint32> color;
    // What the file dialogs were opened with: "defaultExt|filter".
    QStringList fileRequests;
    // The save dialog's extra choice: what it offered ("label|a|b|..."),
    // and the entry the user picks (-1: the one shown first).
    QStringList choiceRequests;
    int choice = -1;

    void information(const QString &text) override { texts << text; }
    bool confirmYesNo(const QString &text) override { return answer(text); }
    bool confirmOkCancel(const QString &text) override { return answer(text); }
    QString openFile(const QString &ext, const QString &filter) override {
        fileRequests << ext + QLatin1Char('|') + filter;
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString saveFile(const QString &ext, const QString &filter) override {
        fileRequests << ext + QLatin1Char('|') + filter;
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString saveFileWithChoice(const QString &ext, const QString &filter, const QString &label,
                               const QStringList &choices, int &chosen) override {
        choiceRequests << (QStringList{label} + choices).join(QLatin1Char('|'));
        if (choice >= 0)
            chosen = choice;
        return saveFile(ext, filter);
    }
    std::optional<quint32> chooseColor(quint32) override { return color; }

    void clear() {
        texts.clear();
        answers.clear();
        files.clear();
        fileRequests.clear();
        choiceRequests.clear();
        choice = -1;
    }

private:
    bool answer(const QString &text) {
        texts << text;
        return answers.isEmpty() ? defaultAnswer : answers.dequeue();
    }
};

} // namespace lmk
