#include "help_format.h"

#include <vector>

namespace cli {

std::string HelpFormat::make_footer(const CLI::App *app) const {
    const CLI::App *root = app;
    while (root->get_parent() != nullptr) root = root->get_parent();
    std::string global;
    if (root != app) {
        const CLI::Option *own_help = root->get_help_ptr();
        const std::vector<const CLI::Option *> options = root->get_options(
            [own_help](const CLI::Option *option) { return option->nonpositional() && option != own_help; });
        global = make_group("GLOBAL OPTIONS", false, options);
        global.erase(0, global.find_first_not_of('\n'));
        global += '\n';
    }
    return global + CLI::Formatter::make_footer(app);
}

}  // namespace cli
