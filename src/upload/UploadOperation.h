#pragma once
// "Start": loads a file into the receiver's configuration or into one of its
// external tasks (packets in UploadCodec.h).
//
// The operation checks its preconditions, reads the file whole, checks its
// name against the target (asking the user through `confirm`), sends the
// header, then one packet after every ready reply (00) until the whole file
// is out. Working replies (55) restart the 3000 ms reply timer and raise the
// byte counter by one; any other status refuses the transfer. Every wait
// reads on until a status or the reply timer decides, so frames that carry
// no status (02, C0 words) are passed over on both transports.
// The outcome is one message; progress goes out through the signals.

#include "link/Exchange.h"
#include "upload/UploadCodec.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace lmk {
class DeviceLink;

struct UploadRequest {
    bool fileChosen = false; // LB_Applikation holds a line
    QString filePath;        // UploadFileName
    // The file's bytes when they were read already (lmkctl's standard
    // input); filePath then only names them.
    std::optional<QByteArray> contents;
    upload::Target target = upload::Target::Configuration;
    QString taskEntry;      // text of the selected CB_Tasks entry ("" when none)
    qint64 byteCounter = 0; // what L_Bytes shows now (working replies add one)
};

enum class UploadOutcome {
    NotStarted, // a precondition failed: nothing sent
    Unreadable, // the file cannot be loaded (unreadable, not a regular file,
                // empty or too large): nothing sent, a message names it
    Declined,   // the user declined the name check: nothing sent, no message
    NoTaskIds,  // the selected entry holds no task ids: nothing sent
    IdTooLarge, // a task id above FFFF: nothing sent
    Completed,  // "File transfer finished successfully!"
    Refused,    // "Exception caused by device driver!"
    Ended,      // timeout, lost link or an unrouted reply (end says which)
    Abandoned,  // the window closed during the transfer: no message
    Busy,       // another operation held the link: nothing sent
};

struct UploadResult {
    UploadOutcome outcome = UploadOutcome::NotStarted;
    QString message;          // empty: show nothing
    bool transferred = false; // the header went out (controls were disabled)
    qint64 size = 0;
    qint64 sent = 0;
    // How the transfer's exchange ended (Status: the last status code).
    ExchangeEnd end = ExchangeEnd::NoTransport;
    int code = -1;
};

class UploadOperation : public QObject {
    Q_OBJECT
  public:
    static constexpr int kReplyMs = 3000;
    static constexpr int kProgressMax = 100;
    static constexpr int kEventSliceMs = 10;
    // Names the id; the argument is the id as the task list shows it.
    static constexpr const char *kIdTooLargeText =
        "Task id %1 is larger than FFFF and cannot be sent: nothing loaded!";
    static constexpr const char *kNoConnectionText = "No connection or file available!";
    static constexpr const char *kConfirmText = "File not related to selected task, load?";
    static constexpr const char *kCannotLoadText = "File cannot be loaded into LMK!";
    static constexpr const char *kSuccessText = "File transfer finished successfully!";
    static constexpr const char *kRefusedText = "Exception caused by device driver!";
    static constexpr const char *kClearingText = "Clearing memory:";
    static constexpr const char *kBytesSentText = "Bytes sent:";

    explicit UploadOperation(DeviceLink &link, QObject *parent = nullptr);

    // The OK/Cancel question of the name check; true continues. Without one,
    // lmk::dialogs() asks.
    void setConfirm(std::function<bool(const QString &)> confirm) {
        m_confirm = std::move(confirm);
    }

    UploadResult run(const UploadRequest &request);

    // The bar's position for `sent` of `size` bytes (full when above).
    static int progressFor(qint64 sent, qint64 size);

  signals:
    // The transfer starts: the page's own controls are to be disabled.
    void started();
    void phaseChanged(const QString &text);
    void counterChanged(qint64 value);
    void progressChanged(int position);
    // The receiver has taken `sent` bytes of the file's `size`.
    void bytesSent(qint64 sent, qint64 size);
    // The transfer has ended, before its message is shown.
    void finished(const lmk::UploadResult &result);

  private:
    ExchangeResult transfer(Exchange &exchange, const QByteArray &header,
                            upload::UploadPacketizer &packets, qint64 counter);

    DeviceLink &m_link;
    std::function<bool(const QString &)> m_confirm;
};

} // namespace lmk
