#pragma once
// The system's request to close the program (SIGTERM at the end of a
// session, SIGHUP, SIGINT), turned into an ordinary close of the main
// window: the close handler then runs as for the close box, also while an
// operation waits for the receiver. POSIX systems get the request through
// a socket pair at once; elsewhere a timer reads the flag the handler sets.

#include <QObject>

namespace lmk {

class SystemCloseRequest : public QObject {
    Q_OBJECT
  public:
    // One per program; installs the signal handlers until destroyed.
    explicit SystemCloseRequest(QObject *parent = nullptr);
    ~SystemCloseRequest() override;

    // The signal of the last request ("SIGTERM", ...), for messages.
    static QString lastSignalName();

  signals:
    void requested();

  private:
    static int s_lastSignal;
    QObject *m_source = nullptr; // what brings the request to the event loop
};

} // namespace lmk
