#include "result_output.h"

#include <cstdio>

namespace cli {

void print_result(const Session &session, const Json &object, const std::string &text) {
    const std::string &time = session.reading_time();
    if (!session.json()) {
        std::printf("%s%s%s\n", time.c_str(), time.empty() ? "" : " ", text.c_str());
        return;
    }
    if (time.empty()) return print_json(object);
    Json stamped = {{"time", time}};
    stamped.update(object);
    print_json(stamped);
}

}  // namespace cli
