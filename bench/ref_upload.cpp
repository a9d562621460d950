// Reference client for the upload benchmark: the same exchange as the
// program's upload (header, three name packets, data packets; after every
// request wait for working replies 55 and one ready reply 00), written with
// plain blocking calls and no GUI, so that bench_upload can set the
// program's time against it.
//
//   ref_upload wlan PORT FILE          TCP to 127.0.0.1:PORT
//   ref_upload usb  LIBRARY FILE       the USB library at LIBRARY (its
//                                      LMK_SIM_USB comes from the environment)
// Prints one line: "wall_ms=<ms> cpu_ms=<ms> bytes=<size>"; exit code 0 when
// the last packet was acknowledged.
#include "../src/link/lmk_usb_api.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<unsigned char>;

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// One transport: send a request, receive the status code of the next reply
// word (-1 on a lost connection).
struct Transport {
    virtual ~Transport() = default;
    virtual bool send(const Bytes &b) = 0;
    virtual int nextCode() = 0;
};

struct Tcp : Transport {
    int fd = -1;
    Bytes held;
    explicit Tcp(int port) {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<unsigned short>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~Tcp() override {
        if (fd >= 0)
            ::close(fd);
    }
    bool send(const Bytes &b) override {
        return ::send(fd, b.data(), b.size(), 0) == ssize_t(b.size());
    }
    int nextCode() override {
        for (;;) {
            if (held.size() >= 2) {
                const size_t len = held[0] | held[1] << 8;
                if (len < 8 || len > 1024)
                    return -1;
                if (held.size() >= len) {
                    const int code = held[4];
                    held.erase(held.begin(), held.begin() + long(len));
                    return code;
                }
            }
            unsigned char buf[1024];
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0)
                return -1;
            held.insert(held.end(), buf, buf + n);
        }
    }
};

struct Usb : Transport {
    LMK_OpenFn open = nullptr;
    LMK_WriteFn write = nullptr;
    LMK_CloseFn close = nullptr;
    std::mutex m;
    std::condition_variable cv;
    std::deque<int> codes;
    bool ok = false;
    explicit Usb(const char *path) {
        void *lib = ::dlopen(path, RTLD_NOW);
        if (!lib)
            return;
        open = reinterpret_cast<LMK_OpenFn>(::dlsym(lib, "LMK_Open"));
        write = reinterpret_cast<LMK_WriteFn>(::dlsym(lib, "LMK_Write"));
        close = reinterpret_cast<LMK_CloseFn>(::dlsym(lib, "LMK_Close"));
        ok = open && write && close && open(this, &Usb::deliver) != 0;
    }
    ~Usb() override {
        if (ok)
            close();
    }
    static void deliver(void *ctx, const unsigned char *p, int n) {
        auto *self = static_cast<Usb *>(ctx);
        if (n < 4)
            return;
        std::lock_guard<std::mutex> g(self->m);
        self->codes.push_back(p[0]);
        self->cv.notify_one();
    }
    bool send(const Bytes &b) override {
        write(b.data(), static_cast<unsigned short>(b.size()));
        return true;
    }
    int nextCode() override {
        std::unique_lock<std::mutex> g(m);
        if (!cv.wait_for(g, std::chrono::seconds(3), [this] { return !codes.empty(); }))
            return -1;
        const int c = codes.front();
        codes.pop_front();
        return c;
    }
};

bool exchange(Transport &t, const Bytes &request) {
    if (!t.send(request))
        return false;
    for (;;) {
        const int code = t.nextCode();
        if (code == 0x00)
            return true;
        if (code != 0x55)
            return false;
    }
}

void putLe32(Bytes &b, unsigned v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: ref_upload wlan PORT FILE | usb LIBRARY FILE\n");
        return 2;
    }
    std::ifstream in(argv[3], std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string name = argv[3];
    if (const auto slash = name.rfind('/'); slash != std::string::npos)
        name = name.substr(slash + 1);

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = cpuMs();
    Transport *t = nullptr;
    if (std::strcmp(argv[1], "wlan") == 0) {
        auto *tcp = new Tcp(std::atoi(argv[2]));
        if (tcp->fd < 0)
            return 1;
        t = tcp;
    } else {
        auto *usb = new Usb(argv[2]);
        if (!usb->ok)
            return 1;
        t = usb;
    }

    Bytes header{0x09};
    putLe32(header, unsigned(file.size()));
    bool ok = exchange(*t, header);
    unsigned char block[12] = {};
    std::memcpy(block + 2, name.data(), std::min<size_t>(name.size(), 10));
    long n = 1;
    for (int i = 0; ok && i < 3; ++i, ++n) {
        Bytes p{static_cast<unsigned char>(0x80 | n)};
        p.insert(p.end(), block + 4 * i, block + 4 * i + 4);
        ok = exchange(*t, p);
    }
    Bytes packet;
    packet.reserve(320);
    for (size_t off = 0; ok && off < file.size(); off += 256) {
        packet.clear();
        const size_t take = std::min<size_t>(256, file.size() - off);
        for (size_t g = 0; g < take; g += 4, ++n) {
            packet.push_back(static_cast<unsigned char>(0x80 | (n % 128)));
            for (size_t i = 0; i < 4; ++i)
                packet.push_back(g + i < take ? file[off + g + i] : 0);
        }
        ok = exchange(*t, packet);
    }
    const double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
            .count();
    const double cpu = cpuMs() - cpuStart;
    delete t;
    std::printf("wall_ms=%.1f cpu_ms=%.1f bytes=%zu\n", wall, cpu, file.size());
    return ok ? 0 : 1;
}
