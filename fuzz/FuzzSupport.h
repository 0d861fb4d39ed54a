// Helpers shared by the fuzz targets: the input written to a file (the readers take paths), the
// input taken apart into numbers and texts, and a check that aborts with a message so libFuzzer
// records the input. The references the targets compare with are in ReferenceFormat.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vyp::fuzz {

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// A file of the process's own in a folder that is removed at exit (/dev/shm when there is one).
class ScratchFile {
public:
    explicit ScratchFile(std::string_view name);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Path() const { return m_path; }
    const std::string& Folder() const { return m_folder; }
    void Write(std::string_view bytes) const;

private:
    std::string m_folder;
    std::string m_path;
};

// Reads bytes taken from the front of data, for targets that need a few numbers first.
class InputTaker {
public:
    InputTaker(const uint8_t* data, size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size) {}
    uint64_t Number(size_t bytes);
    // Text up to the next byte 0 (or the end), which is consumed.
    std::string_view Text();
    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

} // namespace vyp::fuzz
