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

#include <functional>

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
    // What runs while busy: "Writing slot 12 of 63…".
    QString activity() const { return m_activity; }
    // How the last write ended, when it says more than the counter: "63
    // slots written and verified". Empty while an operation runs.
    QString resultText() const { return m_resultText; }
    // The receiver's slot replies carry 248 of a record's 256 bytes (seen
    // in a read, a backup or a comparison); a write then asks first.
    void noteShortReplies(bool shortReplies) { m_shortReplies = shortReplies; }
    bool shortReplies() const { return m_shortReplies; }
    // B_Speichern outside an operation.
    bool writeEnabled() const { return m_writeEnabled; }

    // The .Mem file last opened or saved (empty: none, or the image came
    // from the receiver since).
    QString filePath() const { return m_filePath; }

    // B_LadenClick, B_SpeichernClick, B_LoeschenClick: the outcome is shown
    // through the dialogs.
    void readAll();
    // `beforeSending` runs before a write or clear sends anything (after the
    // clear's question, and only when there is something to send); false
    // ends the operation with nothing sent. The editor backs up the
    // receiver's slots there.
    using BeforeSending = std::function<bool()>;
    // `verify`: the 63 slots are read back and compared afterwards (the
    // editor window; the hidden page writes as its button always did).
    void writeAll(const BeforeSending &beforeSending = {}, bool verify = false);
    void clearAll(const BeforeSending &beforeSending = {});

    // .Mem open and save; false after an error, which has been shown.
    bool openFile(const QString &path);
    bool saveFile(const QString &path);

  signals:
    // statusItem, bytesText, busy, writeEnabled or filePath may have
    // changed.
    void stateChanged();
    // The image as it is now is what a file or the receiver holds: loaded,
    // saved, read, or written whole while it stayed as it was sent.
    void saved();

  private:
    void run(SlotTransferOperation::Kind kind, const BeforeSending &beforeSending = {},
             bool verify = false);
    void setStatusItem(const QString &text);
    void setBytesText(const QString &text);
    void setBusy(bool busy);
    void notify();

    MemorySlots *m_slots;
    QString m_statusItem = QStringLiteral("keine");
    QString m_bytesText = QStringLiteral("0");
    bool m_busy = false;
    QString m_activity;
    QString m_resultText;
    bool m_shortReplies = false;
    bool m_writeEnabled = false;
    QString m_filePath;
};

} // namespace lmk
