#pragma once
// The memory editor: the page "Speicherplätze" (grid, buttons, counter and
// file list) in a window of its own, reached by Interface, Memory Slots. It
// is a second view of the hidden page's MemorySession: the same image and
// the same operations, so the page, the editor and lmkctl never disagree.
//
// Its File menu opens and saves .Mem files; the title shows the file's name
// and "*" while the image has changes that were not saved, read or
// written; closing it with such changes asks first.

#include <QMainWindow>

class QAction;
class QMenu;

namespace lmk {

class MemoryPage;
class MemorySession;

class MemoryEditor : public QMainWindow {
    Q_OBJECT
  public:
    explicit MemoryEditor(MemorySession &session, QWidget *parent = nullptr);

    MemorySession &session() { return m_session; }
    MemoryPage *page() const { return m_page; }
    QMenu *fileMenu() const { return m_fileMenu; }
    QAction *openAction() const { return m_open; }
    QAction *saveAction() const { return m_save; }
    QAction *closeAction() const { return m_close; }

    // File, Open / File, Save of the editor (the chosen file through the
    // dialogs).
    void openFile();
    void saveFile();

  protected:
    void closeEvent(QCloseEvent *e) override;

  private:
    void buildMenu();
    void updateTitle();
    // True when there are no unsaved changes or the user lets them go.
    bool confirmLeavingChanges(const QString &question);

    MemorySession &m_session;
    MemoryPage *m_page = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_open = nullptr;
    QAction *m_save = nullptr;
    QAction *m_close = nullptr;
};

} // namespace lmk
