// The port driver's messages: one line each on standard error, naming what
// they are about ("COM1 = /dev/ttyUSB0", a file and line) and what is wrong.
#ifndef DLPORTIO_REPORT_H
#define DLPORTIO_REPORT_H

#include <functional>
#include <string>

namespace dlportio {

// Takes one whole line, without its newline.
using Report = std::function<void(const std::string &line)>;

inline std::string message(const std::string &subject, const std::string &text) {
    return "wirelink: " + subject + ": " + text;
}

}  // namespace dlportio

#endif
