// The native stand-in for system_random_win.cpp, so that portable code which
// draws from the system generator can be tested and measured on Linux. The
// Windows build compiles this file to nothing.
#ifndef _WIN32

#include "uuid/system_random.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdlib>

namespace {

class PosixRandom final : public RandomSource {
public:
    void fill(std::span<std::uint8_t> out) override {
        for (std::size_t done = 0; done < out.size();) {
            ssize_t n = getrandom(out.data() + done, out.size() - done, 0);
            if (n < 0) {
                if (errno == EINTR) continue;
                std::abort();
            }
            done += static_cast<std::size_t>(n);
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
