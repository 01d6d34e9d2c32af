#include "app/module_identity.h"

#include "common/three_languages.h"
#include "fleet/identity.h"

namespace zavi {

namespace {
ModuleIdentitySource identity_source = nullptr;
}  // namespace

bool ModuleIdentity::known() const {
    return fleet::is_identity(serial);
}

void set_module_identity_source(ModuleIdentitySource source) {
    identity_source = source;
}

ModuleIdentity module_identity(DriverHandle handle) {
    ModuleIdentity out;
    std::string serial;
    if (identity_source && handle) identity_source(handle, &serial, &out.connection);
    out.serial = fleet::identity_or_unknown(serial);
    return out;
}

std::string identity_text(const ModuleIdentity& identity, uint8_t language) {
    if (identity.known())
        return pick_text(language, "Moduł ", "Module ", "Modul ") + identity.serial;
    return pick_text(language, "Tożsamość modułu nieznana (port nie podaje numeru seryjnego USB)",
                     "The module's identity is unknown (its port gives no USB serial number)",
                     "Die Identität des Moduls ist unbekannt (der Anschluss liefert keine "
                     "USB-Seriennummer)");
}

}  // namespace zavi
