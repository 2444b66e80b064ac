// The program is built without exceptions. Where the standard library would throw (a text grown
// past its maximum size, an index out of range), it ends the program through the fatal-error
// report instead. Defining these here also keeps the library's exception machinery, unwinder and
// demangler out of the executable.

#include "app/process_win32.h"

#include <cstddef>

namespace std {

[[noreturn]] void __throw_bad_alloc() {
    app::reportFatalError("bad_alloc", 0);
}
[[noreturn]] void __throw_bad_array_new_length() {
    app::reportFatalError("bad_array_new_length", 0);
}
[[noreturn]] void __throw_length_error(const char* what) {
    app::reportFatalError(what, 0);
}
[[noreturn]] void __throw_logic_error(const char* what) {
    app::reportFatalError(what, 0);
}
[[noreturn]] void __throw_out_of_range(const char* what) {
    app::reportFatalError(what, 0);
}
[[noreturn]] void __throw_out_of_range_fmt(const char* what, ...) {
    app::reportFatalError(what, 0);
}
[[noreturn]] void __throw_invalid_argument(const char* what) {
    app::reportFatalError(what, 0);
}

} // namespace std
