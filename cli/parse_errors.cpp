#include "parse_errors.h"

#include <algorithm>
#include <cctype>

namespace cli {
namespace {

const CLI::App *deepest_command(const CLI::App &app) {
    const CLI::App *deepest = &app;
    for (bool deeper = true; deeper;) {
        deeper = false;
        for (const CLI::App *sub : deepest->get_subcommands({})) {
            if (!sub->parsed()) continue;
            deepest = sub;
            deeper = true;
            break;
        }
    }
    return deepest;
}

std::string help_of(const std::string &path) {
    return "see wirelink " + path + (path.empty() ? "" : " ") + "--help";
}

std::string subcommand_names(const CLI::App &command) {
    std::string names;
    for (const CLI::App *sub : command.get_subcommands({}))
        names += (names.empty() ? "" : ", ") + sub->get_name();
    return names;
}

// The stray words in the order they were typed.
std::vector<std::string> in_typed_order(std::vector<std::string> extras,
                                        const std::vector<std::string> &typed) {
    std::vector<bool> taken(typed.size(), false);
    std::vector<std::pair<std::size_t, std::string>> placed;
    for (std::string &word : extras) {
        std::size_t at = typed.size();
        for (std::size_t i = 0; i < typed.size(); ++i) {
            if (!taken[i] && typed[i] == word) {
                at = i;
                taken[i] = true;
                break;
            }
        }
        placed.emplace_back(at, std::move(word));
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<std::string> ordered;
    for (auto &[at, word] : placed) ordered.push_back(std::move(word));
    return ordered;
}

std::string quoted_list(const std::vector<std::string> &words) {
    std::string list;
    for (const std::string &word : words) list += (list.empty() ? "'" : " '") + word + "'";
    return list;
}

bool looks_like_option(const std::string &word) {
    return word.size() > 1 && word[0] == '-' && !std::isdigit(static_cast<unsigned char>(word[1]));
}

std::string explain_extras(const CLI::App &app, const std::vector<std::string> &typed,
                           const std::string &fallback) {
    const std::vector<std::string> extras = in_typed_order(app.remaining(true), typed);
    if (extras.empty()) return fallback;
    const CLI::App *command = deepest_command(app);
    const std::string path = command_path(app);
    const std::string &first = extras.front();
    const std::string in = path.empty() ? "" : path + ": ";
    if (!command->get_subcommands({}).empty()) {
        const std::string names = subcommand_names(*command);
        if (looks_like_option(first)) {
            return in + "give a command before " + first + ": " + names + " (" + help_of(path) + ")";
        }
        return in + "'" + first + "' is not a command; give one of " + names + " (" + help_of(path) + ")";
    }
    if (looks_like_option(first)) return in + "no option " + first + " (" + help_of(path) + ")";
    const bool takes_text = command->get_option_no_throw("TEXT") != nullptr;
    return in + (extras.size() > 1 ? "arguments " : "argument ") + quoted_list(extras) +
           " not expected: more than the command takes (" + (takes_text ? "quote a text with blanks; " : "") +
           help_of(path) + ")";
}

// The first required positional of the command that was not given.
std::string explain_required(const CLI::App &app, const std::string &fallback) {
    const CLI::App *command = deepest_command(app);
    const std::string path = command_path(app);
    for (const CLI::Option *option : command->get_options()) {
        if (option->get_positional() && option->get_required() && option->count() == 0) {
            return (path.empty() ? "" : path + ": ") + option->get_name() +
                   " is missing: " + option->get_description() + " (" + help_of(path) + ")";
        }
    }
    return fallback + " (" + help_of(path) + ")";
}

// The words of CLI11's "NAME: 1 required TYPE missing" and "NAME: At Most 3
// required but received 4", or none when the text is another.
std::vector<std::string> words_between(const std::string &text, const std::vector<std::string> &fixed) {
    std::vector<std::string> words;
    std::size_t from = 0;
    for (const std::string &part : fixed) {
        const std::size_t at = text.find(part, from);
        if (at == std::string::npos || at == from) return {};
        words.push_back(text.substr(from, at - from));
        from = at + part.size();
    }
    if (from < text.size()) words.push_back(text.substr(from));
    return words;
}

std::string explain_mismatch(const CLI::App &app, const std::string &message) {
    const std::string path = command_path(app);
    const auto missing = words_between(message, {": ", " required ", " missing"});
    if (missing.size() == 3 && message.ends_with(" missing")) {
        return missing[0] + ": needs a value (" + missing[2] + "; " + help_of(path) + ")";
    }
    const auto too_many = words_between(message, {": At Most ", " required but received "});
    if (too_many.size() == 3) {
        return (path.empty() ? "" : path + ": ") + too_many[0] + " takes at most " + too_many[1] +
               " words, got " + too_many[2] + " (" + help_of(path) + ")";
    }
    return message + " (" + help_of(path) + ")";
}

}  // namespace

std::string command_path(const CLI::App &app) {
    std::string path;
    for (const CLI::App *command = deepest_command(app); command != &app; command = command->get_parent())
        path = command->get_name() + (path.empty() ? "" : " ") + path;
    return path;
}

std::string explain_parse_error(const CLI::App &app, const CLI::ParseError &error,
                                const std::vector<std::string> &typed) {
    if (dynamic_cast<const CLI::ExtrasError *>(&error) != nullptr)
        return explain_extras(app, typed, error.what());
    if (dynamic_cast<const CLI::RequiredError *>(&error) != nullptr)
        return explain_required(app, error.what());
    if (dynamic_cast<const CLI::ArgumentMismatch *>(&error) != nullptr)
        return explain_mismatch(app, error.what());
    return std::string(error.what()) + " (" + help_of(command_path(app)) + ")";
}

}  // namespace cli
