#include "cli/CliSession.h"

#include "cli/Command.h"
#include "lists/ListFile.h"
#include "platform/Native.h"

#include <ostream>

namespace vyp {

CliSession::CliSession(const CliEnvironment& environment, std::ostream& out, std::ostream& err)
    : m_environment(environment), m_out(out), m_err(err) {}

const DataFolder& CliSession::Data() {
    if (!m_data) {
        m_data.emplace(m_chosenFolder ? *m_chosenFolder : m_environment.defaultDataFolder());
        RemoveStaleTemporaries(*m_data); // left by a writer that was killed
    }
    return *m_data;
}

ListRegistry CliSession::LoadRegistry() {
    const DataFolder& data = Data();
    ListRegistry registry;
    NativeDirectoryWalker walker;
    FindLists(registry, data.ListFolder(), kListPattern, data.SettingsPath(), walker);
    return registry;
}

std::optional<std::string> CliSession::FindListFile(const std::string& name) {
    const ListRegistry registry = LoadRegistry();
    for (size_t i = 0; i < registry.ListInfos.size(); ++i) {
        if (ListCaption(registry.ListInfos[i].FileName) == name)
            return registry.ListPaths[i];
    }
    for (size_t i = 0; i < registry.ListInfos.size(); ++i) {
        if (registry.ListInfos[i].FileName == name)
            return registry.ListPaths[i];
    }
    m_err << "Seznam \"" << name << "\" neexistuje.\n";
    return std::nullopt;
}

void AppendCells(std::string& out, std::initializer_list<std::string_view> cells) {
    bool first = true;
    for (std::string_view cell : cells) {
        if (!first)
            out.push_back('\t');
        out.append(cell);
        first = false;
    }
    out.push_back('\n');
}

void CliSession::Row(std::initializer_list<std::string_view> cells) {
    AppendCells(m_output, cells);
    FlushSometimes();
}

void CliSession::FlushSometimes() {
    if (m_output.size() >= (1u << 20)) {
        m_out << m_output;
        m_output.clear();
    }
}

void CliSession::Write(std::string_view text) {
    if (text.size() < (1u << 16)) {
        m_output.append(text);
        FlushSometimes();
        return;
    }
    if (!m_output.empty()) {
        m_out << m_output;
        m_output.clear();
    }
    m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void CliSession::Flush() {
    m_out << m_output;
    m_output.clear();
    m_out.flush();
}

int CliSession::Fail(const std::string& message) {
    m_err << message << "\n";
    return kCommandFailed;
}

} // namespace vyp
