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
};

// Never destroyed: a reader thread must not meet a destructed object at exit.
Connection &conn() {
    static Connection *c = new Connection;
    return *c;
}

// Cuts the byte stream into frames. A length below the header or above the
// largest frame cannot be resynchronised within the stream: the bytes held
// are dropped and the next receive starts a new frame.
void readLoop(int fd, void *context, LMK_DeliverFn deliver) {
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

void closeConnection() {
    Connection &c = conn();
    int fd;
    {
        std::lock_guard<std::mutex> guard(c.lock);
        fd = c.fd;
        c.fd = -1;
        if (fd >= 0)
            ::shutdown(fd, SHUT_RDWR); // wakes the reader
    }
    if (c.reader.joinable())
        c.reader.join();
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
