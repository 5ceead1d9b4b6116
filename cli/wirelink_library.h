// libwirelink.so bound at run time, by its path relative to this program, so
// that --sim can load the simulated bench's port driver underneath it first.
#ifndef WIRELINK_CLI_WIRELINK_LIBRARY_H
#define WIRELINK_CLI_WIRELINK_LIBRARY_H

#include "wirelink.h"

namespace cli {

// Every exported function, typed from the public header and named as in it,
// from the library's export table (api.def).
struct Wirelink {
#define WIRELINK_FUNCTION(name, ...) decltype(&::name) name;
#include "api.def"
#undef WIRELINK_FUNCTION
};

// Loads libwirelink.so over a port driver (with `simulated` the simulated
// bench's, loaded first; else the one libwirelink.so finds, or failing that
// the one installed beside it), routes the driver's accesses through the
// port tap and binds every function above.  Throws a Failure with
// kNotInstalled naming what is missing and where it was looked for.
const Wirelink &load_wirelink(bool simulated);

}  // namespace cli

#endif
