// The program's handler for an exception nothing caught. The library's own names the exception's
// type through the C++ demangler, which is 46 KB of the program; this one says the same with the
// type's mangled name, and aborts as that one does.
#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    static bool terminating = false;
    if (terminating) {
        std::fputs("terminate called recursively\n", stderr);
        std::abort();
    }
    terminating = true;
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type) {
        std::fputs("terminate called without an active exception\n", stderr);
        std::abort();
    }
    std::fprintf(stderr, "terminate called after throwing an instance of '%s'\n", type->name());
    try {
        throw;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "  what():  %s\n", e.what());
    } catch (...) {
    }
    std::abort();
}

}  // namespace __gnu_cxx
