#pragma once
// The memory slots as the window works on them: MemorySlots with its image,
// what the page shows beside the grid (the file list's item, the byte
// counter, whether the buttons may start an operation), the page's
// operations (read, write and clear all slots; .Mem open and save) and the
// state of the image as a document (its file, unsaved edits).
//
// The hidden page "Speicherplätze" and the memory editor window are two
// views of one session, so they always show the same image and state.

#include "memory/SlotTransferOperation.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace lmk {

class DeviceLink;
class MemoryImage;
class MemorySlots;

class MemorySession : public QObject {
    Q_OBJECT
  public:
    explicit MemorySession(DeviceLink &link, QObject *parent = nullptr);

    MemorySlots &memorySlots() { return *m_slots; }
    MemoryImage &image();

    // LB_Speicher's one item: "keine", a status text or a file name.
    QString statusItem() const { return m_statusItem; }
    // L_SBytes.
    QString bytesText() const { return m_bytesText; }
    // A read, write or clear runs (B_Laden and B_Speichern are disabled).
    bool busy() const { return m_busy; }
    // B_Speichern outside an operation.
    bool writeEnabled() const { return m_writeEnabled; }

    // The .Mem file last opened or saved (empty: none, or the image came
    // from the receiver since).
    QString filePath() const { return m_filePath; }
    // The image differs from what was last loaded, saved, read or written.
    bool isModified() const;

    // B_LadenClick, B_SpeichernClick, B_LoeschenClick: the outcome is shown
    // through the dialogs.
    void readAll();
    void writeAll();
    void clearAll();

    // .Mem open and save; false after an error, which has been shown.
    bool openFile(const QString &path);
    bool saveFile(const QString &path);

  signals:
    // statusItem, bytesText, busy, writeEnabled, filePath or isModified
    // may have changed.
    void stateChanged();

  private:
    void run(SlotTransferOperation::Kind kind);
    void setStatusItem(const QString &text);
    void setBytesText(const QString &text);
    void setBusy(bool busy);
    // The image as it is now counts as saved.
    void markClean();
    void notify();

    MemorySlots *m_slots;
    QString m_statusItem = QStringLiteral("keine");
    QString m_bytesText = QStringLiteral("0");
    bool m_busy = false;
    bool m_writeEnabled = false;
    QString m_filePath;
    QByteArray m_clean;
    bool m_lastModified = false;
};

} // namespace lmk
