// The undecorated function exports of libwirelink that rigcheck binds by
// name, with their C signatures, read from the library's export table
// (lib/api.def), so that the table type, the lazy binder and the library
// cannot drift apart.
//
// Including this file expands RIGCHECK_ENTRY(name, signature) once for each
// entry, in table order; the includer defines RIGCHECK_ENTRY before and
// undefines it after.  The signature is a plain function type; it comes last
// because its commas would otherwise split the macro arguments.  There is no
// include guard: every inclusion is one expansion.

#include <cstdint>

#ifndef RIGCHECK_ENTRY
#error "define RIGCHECK_ENTRY(name, signature) before including wirelink_functions.h"
#endif

#define RIGCHECK_EXPORT_KIND_entry(name, signature) RIGCHECK_ENTRY(name, signature)
#define RIGCHECK_EXPORT_KIND_worker(name, signature)
#define WIRELINK_FUNCTION(name, kind, bytes, result, ...) \
    RIGCHECK_EXPORT_KIND_##kind(name, result(__VA_ARGS__))
#include "api.def"
#undef WIRELINK_FUNCTION
#undef RIGCHECK_EXPORT_KIND_entry
#undef RIGCHECK_EXPORT_KIND_worker
