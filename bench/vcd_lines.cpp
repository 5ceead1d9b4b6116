#include "vcd_lines.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// "$timescale 10 ns $end" (or "10ns") in nanoseconds per unit.
uint64_t parse_time_scale(std::istringstream &words) {
    std::string text, word;
    while (words >> word && word != "$end") text += word;
    const std::size_t unit_at = text.find_first_not_of("0123456789");
    if (unit_at == 0 || unit_at == std::string::npos) return 0;
    const uint64_t count = std::stoull(text.substr(0, unit_at));
    const std::string unit = text.substr(unit_at);
    if (unit == "s") return count * 1000000000;
    if (unit == "ms") return count * 1000000;
    if (unit == "us") return count * 1000;
    if (unit == "ns") return count;
    return 0;  // finer than a nanosecond: not a port-access time
}

struct Reader {
    std::string scl_id, sda_id;
    uint64_t unit_ns = 0;
    std::vector<LineLevels> levels;
    LineLevels now{0, true, true};
    bool dirty = false;

    void flush() {
        if (dirty) levels.push_back(now);
        dirty = false;
    }

    void declaration(std::istringstream &words, const std::string &scl, const std::string &sda) {
        std::string keyword;
        words >> keyword;
        if (keyword == "$timescale") unit_ns = parse_time_scale(words);
        if (keyword != "$var") return;
        std::string type, width, id, name;
        words >> type >> width >> id >> name;
        if (name == scl) scl_id = id;
        if (name == sda) sda_id = id;
    }

    void value_change(const std::string &line) {
        const std::string id = line.substr(1);
        const bool level = line[0] == '1';
        if (id == scl_id)
            now.scl = level;
        else if (id == sda_id)
            now.sda = level;
        else
            return;
        dirty = true;
    }
};

}  // namespace

std::vector<LineLevels> read_vcd_lines(const std::string &path, const std::string &scl_name,
                                       const std::string &sda_name) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read " + path);
    Reader reader;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty()) continue;
        if (line[0] == '$') {
            std::istringstream words(line);
            reader.declaration(words, scl_name, sda_name);
        } else if (line[0] == '#') {
            reader.flush();
            reader.now.ns = std::stoull(line.substr(1)) * reader.unit_ns;
        } else if (line[0] == '0' || line[0] == '1') {
            reader.value_change(line);
        }
    }
    reader.flush();
    if (reader.unit_ns == 0 || reader.scl_id.empty() || reader.sda_id.empty())
        throw std::runtime_error(path + " has no time scale or no " + scl_name + " and " + sda_name);
    return reader.levels;
}
