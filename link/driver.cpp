#include "link/driver.h"

#include "link/link_state.h"

namespace zavi {

void set_driver(Driver* d) {
    link_state().driver = d;
}
Driver* driver() {
    return link_state().driver;
}

}  // namespace zavi
