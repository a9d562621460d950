#pragma once
// The window's dialogs: Qt message boxes, file and colour dialogs.

#include "link/Dialogs.h"

class QWidget;

namespace lmk {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void information(const QString &text) override;
    bool confirmYesNo(const QString &text) override;
    bool confirmOkCancel(const QString &text) override;
    QString openFile(const QString &defaultExt, const QString &filter) override;
    QString saveFile(const QString &defaultExt, const QString &filter) override;
    // Qt's own (not the platform's) save dialog, with a combo box for the
    // choice below the file type.
    QString saveFileWithChoice(const QString &defaultExt, const QString &filter,
                               const QString &label, const QStringList &choices,
                               int &chosen) override;
    std::optional<quint32> chooseColor(quint32 initial) override;

  private:
    QWidget *m_parent;
};

} // namespace lmk
