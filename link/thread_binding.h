// The link layer's per-thread references (the device records, the open module) are bound to
// the calling thread's link state (link/link_state.h) on the thread's first use of each.
//
// The binding stands in the header, so that each unit that uses a reference also holds the code
// that binds it. Bound in one unit alone, it is an opaque call to the others, and GCC and Clang
// may then read the reference once, before a loop whose first pass binds it: a null reference.
// MinGW does not merge the per-unit set-up of such an inline variable (a link error), and its
// emulated TLS reads the reference after each binding call, so there link/ keeps the one
// definition (ZAVI_BIND_PER_THREAD in link/link_state.h).
#pragma once

#ifdef _WIN32
#define ZAVI_THREAD_REFERENCE(Type, name) extern thread_local Type& name
#define ZAVI_THREAD_REFERENCE_DEFINITION(Type, name) thread_local Type& name = bind::name()
#else
#define ZAVI_THREAD_REFERENCE(Type, name) inline thread_local Type& name = bind::name()
#define ZAVI_THREAD_REFERENCE_DEFINITION(Type, name) static_assert(true)
#endif

// Declares `name`, the calling thread's Type, and bind::name(), which finds it.
#define ZAVI_PER_THREAD(Type, name) \
    namespace bind {                \
    Type& name();                   \
    }                               \
    ZAVI_THREAD_REFERENCE(Type, name)
