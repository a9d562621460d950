// Reference client for the scan benchmark: the same display-copy exchange as
// the program (request, acknowledgement after the acceptance and after every
// column, pixel conversion into a 24-bit picture), with plain blocking socket
// calls, no event loop and no GUI.
//
//   ref_scan tcp <port> [runs]      against lmk-sim over TCP (WLAN)
//   ref_scan unix <path> [runs]     against lmk-sim's USB socket
// Prints one line per run: "ref_ms <wall ms> cpu_ms <cpu ms> columns <n>".
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kW = 800, kH = 480, kP = (kH + 2 + 3) / 4 * 4;
constexpr int kPicW = 810, kPicH = 490;

int connectTo(const char *kind, const char *where) {
    if (std::strcmp(kind, "tcp") == 0) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(uint16_t(std::atoi(where)));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0)
            return -1;
        return fd;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, where, sizeof a.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0)
        return -1;
    return fd;
}

bool readExact(int fd, unsigned char *p, int n) {
    while (n > 0) {
        const ssize_t got = ::recv(fd, p, size_t(n), 0);
        if (got <= 0)
            return false;
        p += got;
        n -= int(got);
    }
    return true;
}

// One frame's payload; -1 when the connection failed.
int readFrame(int fd, unsigned char *payload) {
    unsigned char h[4];
    if (!readExact(fd, h, 4))
        return -1;
    const int len = h[0] | h[1] << 8;
    if (len < 4 || len > 1024)
        return -1;
    return readExact(fd, payload, len - 4) ? len - 4 : -1;
}

bool send1(int fd, const unsigned char *p, int n) { return ::send(fd, p, size_t(n), 0) == n; }

double cpuMs() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ref_scan tcp <port>|unix <path> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 1;
    const int fd = connectTo(argv[1], argv[2]);
    if (fd < 0) {
        std::perror("connect");
        return 1;
    }
    std::vector<unsigned char> picture(size_t(kPicW) * kPicH * 3);
    unsigned char payload[1024];
    const unsigned char request[10] = {0x08, 0, 0, 0, 0, kW & 0xFF, kW >> 8, kH & 0xFF, kH >> 8, 0};
    const unsigned char ack = 0x00;
    for (int run = 0; run < runs; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        const double cpu0 = cpuMs();
        if (!send1(fd, request, 10))
            return 1;
        if (readFrame(fd, payload) != 4 || payload[0] != 0)
            return 1;
        int columns = 0;
        while (columns < kW) {
            if (!send1(fd, &ack, 1))
                return 1;
            if (readFrame(fd, payload) != kP)
                return 1;
            const int c = payload[0] | payload[1] << 8;
            for (int r = 0; r < kH; ++r) {
                const unsigned px = payload[2 + r];
                unsigned char *d = &picture[(size_t(r + 5) * kPicW + size_t(c + 5)) * 3];
                d[0] = uint8_t((px & 3) * 85);
                d[1] = uint8_t(((px >> 2) & 7) * 255 / 7);
                d[2] = uint8_t((px >> 5) * 255 / 7);
            }
            ++columns;
        }
        if (!send1(fd, &ack, 1))
            return 1;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        std::printf("ref_ms %.2f cpu_ms %.2f columns %d\n", ms, cpuMs() - cpu0, columns);
        std::fflush(stdout);
    }
    ::close(fd);
    return 0;
}
