// The USB library backed by lmk-sim: instead of a USB device it connects to
// the simulator's local socket (path in LMK_SIM_USB). Requests are written
// unchanged; the simulator answers with frames (16-bit little-endian total
// length, 2 bytes not read, payload), which a reader thread cuts apart and
// hands to the deliver callback without the header.
//
//   LMK_Write({12}, 1)      -> socket: 12
//   socket: 0c 00 00 00 12 40 05 00 03 01 00 00
//                           -> deliver(ctx, {12 40 05 00 03 01 00 00}, 8)
//
// Plain POSIX and standard C++: no Qt here.
#include "lmk_usb_api.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kHeader = 4;
constexpr int kMaxFrame = 1024;

struct Connection {
    std::mutex lock; // guards fd against LMK_Write / LMK_Close
    int fd = -1;
    std::thread reader;
    std::mutex endLock; // guards readerEnded
    std::condition_variable readerEnd;
    bool readerEnded = false;
};

// Never destroyed: a reader thread must not meet a destructed object at exit.
Connection &conn() {
    static Connection *c = new Connection;
    return *c;
}

// Cuts the byte stream into frames. A length below the header or above the
// largest frame cannot be resynchronised within the stream: the bytes held
// are dropped and the next receive starts a new frame.
void readFrames(int fd, void *context, LMK_DeliverFn deliver) {
    std::vector<unsigned char> held;
    unsigned char chunk[2048];
    for (;;) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        held.insert(held.end(), chunk, chunk + n);
        while (held.size() >= 2) {
            const int length = held[0] | held[1] << 8;
            if (length < kHeader || length > kMaxFrame) {
                held.clear();
                break;
            }
            if (held.size() < size_t(length))
                break;
            if (deliver)
                deliver(context, held.data() + kHeader, length - kHeader);
            held.erase(held.begin(), held.begin() + length);
        }
    }
}

void readLoop(int fd, void *context, LMK_DeliverFn deliver) {
    readFrames(fd, context, deliver);
    Connection &c = conn();
    std::lock_guard<std::mutex> guard(c.endLock);
    c.readerEnded = true;
    c.readerEnd.notify_all();
}

// How long a close waits for the simulator to take the last requests and
// hang up before the connection is cut.
constexpr auto kCloseGrace = std::chrono::milliseconds(500);

void closeConnection() {
    Connection &c = conn();
    int fd;
    {
        std::lock_guard<std::mutex> guard(c.lock);
        fd = c.fd;
        c.fd = -1;
        // Only the sending side ends here: the simulator reads every request
        // written before the close, then hangs up, which ends the reader.
        // Cutting both ways at once could make the simulator's next reply
        // fail and drop the requests it had not read yet.
        if (fd >= 0)
            ::shutdown(fd, SHUT_WR);
    }
    if (c.reader.joinable()) {
        {
            std::unique_lock<std::mutex> guard(c.endLock);
            if (!c.readerEnd.wait_for(guard, kCloseGrace, [&] { return c.readerEnded; }) &&
                fd >= 0)
                ::shutdown(fd, SHUT_RDWR); // no hang-up: wakes the reader
        }
        c.reader.join();
    }
    if (fd >= 0)
        ::close(fd);
}

} // namespace

extern "C" {

LMK_USB_EXPORT int LMK_Open(void *context, LMK_DeliverFn deliver) {
    closeConnection();
    const char *path = std::getenv("LMK_SIM_USB");
    if (!path || !*path)
        return 0;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (std::strlen(path) >= sizeof addr.sun_path)
        return 0;
    std::strcpy(addr.sun_path, path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return 0;
    }
    Connection &c = conn();
    std::lock_guard<std::mutex> guard(c.lock);
    c.fd = fd;
    {
        std::lock_guard<std::mutex> ended(c.endLock);
        c.readerEnded = false;
    }
    c.reader = std::thread(readLoop, fd, context, deliver);
    return 1;
}

LMK_USB_EXPORT void LMK_Write(const unsigned char *data, unsigned short count) {
    Connection &c = conn();
    std::lock_guard<std::mutex> guard(c.lock);
    size_t done = 0;
    while (c.fd >= 0 && data && done < count) {
        const ssize_t n = ::send(c.fd, data + done, count - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

LMK_USB_EXPORT void LMK_Close(void) { closeConnection(); }

} // extern "C"
