#include "cli/CommandLine.h"

#include "cli/UsageError.h"
#include "lists/Groups.h"
#include "lists/SizeText.h"

#include <QCommandLineParser>

#include <algorithm>

namespace vyp {

namespace {

// A word as the parser takes it, byte for byte: Latin-1 gives every byte a character of its own
// and gives it back unchanged, so a word that is not UTF-8 loses nothing on the way.
QString WordText(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string WordBytes(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

const CommandOption* FindOption(const std::vector<CommandOption>& options, std::string_view name) {
    const auto found = std::find_if(options.begin(), options.end(),
                                    [name](const CommandOption& o) { return o.name == name; });
    return found == options.end() ? nullptr : &*found;
}

// The words sorted into options with their values, in order, and positional words (by their
// places in words): a word starting with a single "-" (a search text "-720p") is positional,
// and so is every word after "--". Options not among options, and values missing or given where
// none is taken, are refused here, in the words of the original command line.
struct SortedWords {
    std::vector<std::string> options;
    std::vector<size_t> positional;
};

// untilPositional: stops at the first positional word.
SortedWords SortWords(const std::vector<CommandOption>& options,
                      const std::vector<std::string>& words, bool untilPositional = false) {
    SortedWords sorted;
    bool onlyPositional = false;
    for (size_t i = 0; i < words.size() && !(untilPositional && !sorted.positional.empty()); ++i) {
        const std::string& word = words[i];
        if (onlyPositional || !word.starts_with("--")) {
            sorted.positional.push_back(i);
            continue;
        }
        if (word == "--") {
            onlyPositional = true;
            continue;
        }
        const size_t equals = word.find('=');
        const std::string name = word.substr(2, equals == std::string::npos ? equals : equals - 2);
        const CommandOption* option = FindOption(options, name);
        if (option == nullptr)
            throw UsageError{"neznámá volba: " + word};
        if (option->valueName.empty() && equals != std::string::npos)
            throw UsageError{"volba --" + name + " nebere hodnotu"};
        sorted.options.push_back(word);
        if (!option->valueName.empty() && equals == std::string::npos) {
            if (i + 1 == words.size())
                throw UsageError{"chybí hodnota volby --" + name};
            sorted.options.push_back(words[++i]);
        }
    }
    return sorted;
}

} // namespace

CommandLine CommandLine::Parse(const std::vector<CommandOption>& options,
                               const std::vector<std::string>& words) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const CommandOption& option : options)
        parser.addOption(QCommandLineOption(WordText(option.name), WordText(option.help),
                                            WordText(option.valueName)));
    QStringList arguments{QStringLiteral("vypisnik-cli")}; // the parser skips the program's name
    // The options first, then "--" and the positional words: the parser takes no word after
    // "--" for an option.
    const SortedWords sorted = SortWords(options, words);
    for (const std::string& word : sorted.options)
        arguments.push_back(WordText(word));
    arguments.push_back(QStringLiteral("--"));
    for (size_t at : sorted.positional)
        arguments.push_back(WordText(words[at]));
    if (!parser.parse(arguments))
        throw UsageError{WordBytes(parser.errorText())};

    CommandLine line;
    for (const QString& word : parser.positionalArguments())
        line.m_positional.push_back(WordBytes(word));
    for (const CommandOption& option : options) {
        const QString name = WordText(option.name);
        if (!parser.isSet(name))
            continue;
        std::vector<std::string> values;
        for (const QString& value : parser.values(name))
            values.push_back(WordBytes(value));
        line.m_given.emplace_back(option.name, std::move(values));
    }
    return line;
}

size_t CommandLine::FirstPositional(const std::vector<CommandOption>& options,
                                    const std::vector<std::string>& words) {
    const SortedWords sorted = SortWords(options, words, true);
    return sorted.positional.empty() ? words.size() : sorted.positional.front();
}

const std::string& CommandLine::OnlyPositional(const std::string& usage) const {
    if (m_positional.size() != 1)
        throw UsageError{usage};
    return m_positional.front();
}

const std::vector<std::string>* CommandLine::Given(std::string_view option) const {
    for (const auto& [name, values] : m_given)
        if (name == option)
            return &values;
    return nullptr;
}

std::vector<std::string> CommandLine::Values(std::string_view option) const {
    const std::vector<std::string>* values = Given(option);
    return values == nullptr ? std::vector<std::string>() : *values;
}

std::optional<std::string> CommandLine::Value(std::string_view option) const {
    const std::vector<std::string>* values = Given(option);
    if (values == nullptr || values->empty())
        return std::nullopt;
    return values->back();
}

int ParseGroupArgument(const std::string& text) {
    const auto value = TryParseSizeText(text);
    if (!value || *value < kFirstGroup || *value > kLastGroup)
        throw UsageError{"Skupina musí být číslo 2 až 8: " + text};
    return static_cast<int>(*value);
}

GroupFilter GroupsArgument(const CommandLine& line) {
    GroupFilter groups{true, true, true, true, true, true, true};
    for (const std::string& value : line.Values("groups")) {
        groups = {};
        std::string_view ids = value;
        while (!ids.empty()) {
            const size_t comma = ids.find(',');
            groups[static_cast<size_t>(ParseGroupArgument(std::string(ids.substr(0, comma))) -
                                       kFirstGroup)] = true;
            ids = comma == std::string_view::npos ? std::string_view() : ids.substr(comma + 1);
        }
    }
    return groups;
}

} // namespace vyp
