// A file that the program finds among its lists but cannot open while this lives: on Linux a
// link to nowhere, on Windows a file another program holds open without sharing it (as an
// editor or a virus scanner may).
#pragma once

#include <cstdint>
#include <string>

namespace vyp::test {

class UnreadableFile {
public:
    explicit UnreadableFile(const std::string& path);
    ~UnreadableFile();
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

private:
    [[maybe_unused]] intptr_t m_holder = -1; // the holding handle on Windows
};

} // namespace vyp::test
