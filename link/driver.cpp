#include "link/driver.h"

namespace zavi {

namespace {
Driver* current_driver = nullptr;
}

void set_driver(Driver* d) {
    current_driver = d;
}
Driver* driver() {
    return current_driver;
}

}  // namespace zavi
