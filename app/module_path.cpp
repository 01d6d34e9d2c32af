#include "app/module_path.h"

namespace zavi {

namespace {
ModulePathSource path_source = nullptr;
bool com_search_empty = false;
}  // namespace

void set_module_path_source(ModulePathSource source) {
    path_source = source;
}
std::string module_path() {
    return path_source ? path_source() : std::string();
}

void set_no_ftdi_com_port(bool none) {
    com_search_empty = none;
}
bool no_ftdi_com_port() {
    return com_search_empty;
}

}  // namespace zavi
