// The native stand-in for system_random_win.cpp, so that portable code which
// draws from the system generator can be tested and measured on Linux. The
// Windows build compiles this file to nothing.
//
// ProcessPrng serves each call from a per-processor generator in user mode;
// a getrandom system call per 16-byte UUID would cost several times more
// than that on a virtual machine. So each thread keeps a 4 KiB buffer filled
// by getrandom and hands it out once, byte by byte; larger requests go to
// getrandom directly.
#ifndef _WIN32

#include "uuid/system_random.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

void fill_from_kernel(std::uint8_t* out, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        ssize_t n = getrandom(out + done, size - done, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            std::abort();
        }
        done += static_cast<std::size_t>(n);
    }
}

struct ThreadBuffer {
    std::array<std::uint8_t, 4096> bytes;
    std::size_t used = 4096;  // bytes already handed out
};

class PosixRandom final : public RandomSource {
public:
    void fill(std::span<std::uint8_t> out) override {
        thread_local ThreadBuffer buffer;
        if (out.size() > buffer.bytes.size() / 4) {
            fill_from_kernel(out.data(), out.size());
            return;
        }
        std::size_t done = 0;
        while (done < out.size()) {
            if (buffer.used == buffer.bytes.size()) {
                fill_from_kernel(buffer.bytes.data(), buffer.bytes.size());
                buffer.used = 0;
            }
            std::size_t n = std::min(out.size() - done, buffer.bytes.size() - buffer.used);
            std::memcpy(out.data() + done, buffer.bytes.data() + buffer.used, n);
            std::memset(buffer.bytes.data() + buffer.used, 0, n);  // never handed out twice
            buffer.used += n;
            done += n;
        }
    }
};

}  // namespace

RandomSource& system_random() {
    static PosixRandom source;
    return source;
}

SystemRandomBackend system_random_backend() { return SystemRandomBackend::Getrandom; }

#endif
