// Reads one SDA/SCL pair back from a Value Change Dump, as the levels the
// two lines take at each time stamp where either changes.
#ifndef WIRELINK_BENCH_VCD_LINES_H
#define WIRELINK_BENCH_VCD_LINES_H

#include <cstdint>
#include <string>
#include <vector>

struct LineLevels {
    uint64_t ns;  // from this time on
    bool sda;
    bool scl;
};

// Throws std::runtime_error naming the file when it cannot be read or lacks
// a time scale or either signal.
std::vector<LineLevels> read_vcd_lines(const std::string &path, const std::string &scl_name = "SCL",
                                       const std::string &sda_name = "SDA");

#endif
