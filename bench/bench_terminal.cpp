// Appending received text to the terminal memo: the memo keeps everything,
// so the cost of one frame must not grow with what it already holds. Prints
// the time per frame for the first and the last block of frames, with the
// access-point fill-in still pending (it looks at every frame).
//
//   QT_QPA_PLATFORM=offscreen bench_terminal [frames] [bytes per frame] [--no-breaks]
#include "link/DeviceLink.h"
#include "terminal/ui/TerminalPage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include <cstdio>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const int frames = argc > 1 ? atoi(argv[1]) : 20000;
    const int bytes = argc > 2 ? atoi(argv[2]) : 1000;
    lmk::DeviceLink link;
    link.setTerminalMode(true);
    lmk::TerminalPage page(link);
    page.expectApSettings(true);
    page.resize(985, 510);
    page.show();
    // Lines of 60 characters with CR LF, or one endless line.
    const bool noBreaks = argc > 3 && QByteArray(argv[3]) == "--no-breaks";
    QByteArray payload;
    while (payload.size() < bytes)
        payload += noBreaks ? QByteArray(60, 'x') : QByteArray(58, 'x') + "\r\n";
    payload.truncate(bytes);
    const int block = qMax(1, frames / 20);
    QElapsedTimer total, t;
    total.start();
    double first = 0, last = 0;
    for (int i = 0; i < frames; ++i) {
        if (i % block == 0)
            t.start();
        link.deliverPayload(payload, false);
        if (i % block == block - 1) {
            const double us = t.nsecsElapsed() / 1000.0 / block;
            if (i < block)
                first = us;
            last = us;
        }
    }
    app.processEvents();
    const auto *chat = page.findChild<QPlainTextEdit *>("M_Chat");
    std::printf("frames %d x %d bytes: %.0f ms in all; per frame first %.1f us, last %.1f us; "
                "memo %lld characters in %d blocks\n",
                frames, bytes, total.nsecsElapsed() / 1e6, first, last,
                static_cast<long long>(chat->document()->characterCount()),
                chat->document()->blockCount());
    return 0;
}
