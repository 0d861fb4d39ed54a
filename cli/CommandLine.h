// The words of one command, parsed by QCommandLineParser against the command's options: its
// positional words in order and the values of its options. Words keep their bytes exactly (a
// folder or a search text need not be UTF-8). A word that starts with a single "-" ("-720p",
// "-") is a positional word, never an option, and "--" makes every word after it positional.
#pragma once

#include "cli/Command.h"
#include "search/ListSearch.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyp {

class CommandLine {
public:
    // Parses words against options. Throws UsageError for an option that is not among them, and
    // for a value missing after an option that takes one or given to one that does not.
    static CommandLine Parse(const std::vector<CommandOption>& options,
                             const std::vector<std::string>& words);

    // Where the first positional word stands in words (words.size() when there is none),
    // refusing what Parse refuses before it.
    static size_t FirstPositional(const std::vector<CommandOption>& options,
                                  const std::vector<std::string>& words);

    const std::vector<std::string>& Positional() const { return m_positional; }
    // The one positional word. Throws UsageError{usage} when there are more or none.
    const std::string& OnlyPositional(const std::string& usage) const;
    bool IsSet(std::string_view option) const { return Given(option) != nullptr; }
    // Every value given to option, in order.
    std::vector<std::string> Values(std::string_view option) const;
    // The value given last, which is the one that counts; nothing when option was not given.
    std::optional<std::string> Value(std::string_view option) const;

private:
    const std::vector<std::string>* Given(std::string_view option) const;

    std::vector<std::string> m_positional;
    // The options given, each with its values (none for an option without a value).
    std::vector<std::pair<std::string, std::vector<std::string>>> m_given;
};

// The group id of a text "2" to "8". Throws UsageError for any other text.
int ParseGroupArgument(const std::string& text);

// The groups of "--groups ID,ID,...": every group when the option is not given. Throws
// UsageError for an id that is not a group.
GroupFilter GroupsArgument(const CommandLine& line);

} // namespace vyp
