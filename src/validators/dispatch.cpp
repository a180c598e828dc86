#include "validators/dispatch.h"

#include "validators/descripcion.h"
#include "validators/usuarios.h"

namespace corvela {

std::unique_ptr<RecordValidator> validator_for(const std::string& type) {
    if (type == "US") return std::make_unique<Ausuarios>();
    if (type == "AD") return std::make_unique<ADescripcion>();
    return nullptr;
}

}  // namespace corvela
