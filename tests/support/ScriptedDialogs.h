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
    std::optional<quint32> chooseColor(quint32) override { return color; }

    void clear() {
        texts.clear();
        answers.clear();
        files.clear();
        fileRequests.clear();
    }

private:
    bool answer(const QString &text) {
        texts << text;
        return answers.isEmpty() ? defaultAnswer : answers.dequeue();
    }
};

} // namespace lmk
