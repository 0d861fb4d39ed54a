#include "FuzzSupport.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vyp::fuzz {

namespace {
constexpr std::string_view kFolderPrefix = "vypisnik-fuzz-";
} // namespace

ScratchFile::ScratchFile(std::string_view name) {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    // libFuzzer may end the process without running destructors: folders of processes that
    // are gone are removed here instead.
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(base, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(kFolderPrefix) &&
            ::kill(std::atoi(name.c_str() + kFolderPrefix.size()), 0) != 0 && errno == ESRCH)
            std::filesystem::remove_all(entry.path(), ignored);
    }
    m_folder = (base / (std::string(kFolderPrefix) + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(m_folder);
    m_path = m_folder + "/" + std::string(name);
}

ScratchFile::~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void ScratchFile::Write(std::string_view bytes) const {
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

uint64_t InputTaker::Number(size_t bytes) {
    uint64_t value = 0;
    for (size_t i = 0; i < bytes && !m_rest.empty(); ++i) {
        value = (value << 8) | static_cast<unsigned char>(m_rest.front());
        m_rest.remove_prefix(1);
    }
    return value;
}

std::string_view InputTaker::Text() {
    const size_t end = m_rest.find('\0');
    const std::string_view text = m_rest.substr(0, end);
    m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
    return text;
}

} // namespace vyp::fuzz
