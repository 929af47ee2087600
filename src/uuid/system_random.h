#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// A source of unpredictable bytes. Code that needs randomness takes one of
// these, so that tests can hand it a scripted source instead of the system's.
class RandomSource {
public:
    virtual void fill(std::span<std::uint8_t> out) = 0;

protected:
    ~RandomSource() = default;
};

// Which system call system_random() ends up using.
enum class SystemRandomBackend {
    ProcessPrng,      // bcryptprimitives.dll, Windows 10 and later
    BCryptGenRandom,  // the system-preferred RNG, where ProcessPrng is missing (Wine 8)
    Getrandom,        // native builds (tests and benchmarks only)
};

// The operating system's cryptographic generator, shared by the whole process
// and safe to use from any thread. It never fails: if the system refuses
// (which Windows documents as impossible for ProcessPrng), the process ends.
// Defined in system_random_win.cpp for Windows and in system_random_posix.cpp
// for native builds.
RandomSource& system_random();
SystemRandomBackend system_random_backend();
