#include "memory/ui/MemoryEditor.h"

#include "link/Dialogs.h"
#include "memory/MemorySession.h"
#include "memory/ui/MemoryEditorActions.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotTableModel.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>

namespace lmk {

namespace {
// The page's controls end at 980,497.
constexpr int kPageWidth = 981;
constexpr int kPageHeight = 505;
} // namespace

MemoryEditor::MemoryEditor(MemorySession &session, QWidget *parent)
    : QMainWindow(parent), m_session(session) {
    setObjectName(QStringLiteral("MemoryEditor"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_page = new MemoryPage(session, this);
    m_page->setMinimumSize(kPageWidth, kPageHeight);
    m_page->setGrowsWithWindow(true);
    setCentralWidget(m_page);
    buildMenu();
    m_actions = new MemoryEditorActions(*this);
    connect(&m_session, &MemorySession::stateChanged, this, &MemoryEditor::updateTitle);
    connect(&m_page->model().undoStack(), &QUndoStack::cleanChanged, this,
            &MemoryEditor::updateTitle);
    updateTitle();
    m_page->grid()->setFocus();
}

void MemoryEditor::buildMenu() {
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("menuFile"));
    m_open = m_fileMenu->addAction(QStringLiteral("&Open…"), this, &MemoryEditor::openFile);
    m_open->setObjectName(QStringLiteral("actionOpen"));
    m_open->setShortcut(QKeySequence::Open);
    m_save = m_fileMenu->addAction(QStringLiteral("&Save…"), this, &MemoryEditor::saveFile);
    m_save->setObjectName(QStringLiteral("actionSave"));
    m_save->setShortcut(QKeySequence::Save);
    m_fileMenu->addSeparator();
    m_close = m_fileMenu->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    m_close->setObjectName(QStringLiteral("actionClose"));
    m_close->setShortcut(QKeySequence::Close);
}

void MemoryEditor::updateTitle() {
    const QString name = QFileInfo(m_session.filePath()).fileName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Memory Slots[*]")
                                  : name + QStringLiteral("[*] - Memory Slots"));
    setWindowModified(m_page->model().isModified());
}

bool MemoryEditor::confirmLeavingChanges(const QString &question) {
    m_page->commitEdits();
    if (!m_page->model().isModified())
        return true;
    return dialogs().confirmYesNo(question);
}

void MemoryEditor::openFile() {
    if (!m_page->confirmReplacing(QStringLiteral(
            "The memory slots have changes that are not saved. Open another file anyway?")))
        return;
    const QString path =
        dialogs().openFile(QStringLiteral("*.Mem"), QStringLiteral("Memory file *.Mem|*.Mem"));
    if (!path.isEmpty())
        m_actions->openMemFile(path);
}

void MemoryEditor::saveFile() {
    m_page->commitEdits();
    const QString path = dialogs().saveFile(QStringLiteral("*.Mem"),
                                            QStringLiteral("Speicherplatz-Datei *.Mem|*.Mem"));
    if (!path.isEmpty())
        m_page->saveMemFile(path);
}

void MemoryEditor::closeEvent(QCloseEvent *e) {
    if (confirmLeavingChanges(QStringLiteral(
            "The memory slots have changes that are not saved. Close the editor anyway?")))
        e->accept();
    else
        e->ignore();
}

} // namespace lmk
