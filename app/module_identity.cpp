#include "app/module_identity.h"

#include <utility>

#include "common/three_languages.h"
#include "fleet/identity.h"

namespace zavi {

bool ModuleIdentity::known() const {
    return fleet::is_identity(serial);
}

ModuleIdentity make_module_identity(const std::string& raw_serial, std::string connection) {
    return {fleet::identity_or_unknown(raw_serial), std::move(connection)};
}

ModuleIdentity ModuleIdentifier::module_identity(DriverHandle) const {
    return make_module_identity("", "");
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
