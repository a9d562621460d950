#pragma once
// Where the receiver's access point is looked for: the environment
// (LMK_HOST, LMK_PORT) wins, then the address saved by the window's
// Interface > Receiver Address... (QSettings, also read by lmkctl), then the
// defaults lmk5x.local and 55555. Host and port are chosen each on its own.

#include <QString>

namespace lmk {

struct ReceiverAddress {
    enum class Source { Default, Saved, Environment };
    QString host;
    quint16 port = 0;
    Source hostSource = Source::Default;
    Source portSource = Source::Default;
};

// The address in force now.
ReceiverAddress receiverAddress();
// The address saved by the window; empty host and port 0 when none is.
ReceiverAddress savedReceiverAddress();
// Saves host and port for later runs of the window and of lmkctl.
void saveReceiverAddress(const QString &host, quint16 port);
// A port text from 1 to 65535, or 0.
quint16 portFromText(const QString &text);

} // namespace lmk
