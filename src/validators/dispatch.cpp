#include "validators/dispatch.h"

#include "validators/consultas.h"
#include "validators/descripcion.h"
#include "validators/hospitalizacion.h"
#include "validators/medicamentos.h"
#include "validators/nacidos.h"
#include "validators/otros_servicios.h"
#include "validators/procedimientos.h"
#include "validators/transacciones.h"
#include "validators/urgencias.h"
#include "validators/usuarios.h"

namespace corvela {

std::unique_ptr<RecordValidator> validator_for(const std::string& type) {
    if (type == "US") return std::make_unique<Ausuarios>();
    if (type == "AD") return std::make_unique<ADescripcion>();
    if (type == "AC") return std::make_unique<AConsultas>();
    if (type == "AF") return std::make_unique<ATransacciones>();
    if (type == "AP") return std::make_unique<AProcedimientos>();
    if (type == "AT") return std::make_unique<Aotrosservicios>();
    if (type == "AU") return std::make_unique<Aurgencias>();
    if (type == "AH") return std::make_unique<Ahospitalizacion>();
    if (type == "AM") return std::make_unique<Amedicamentos>();
    if (type == "AN") return std::make_unique<Anacidos>();
    return nullptr;
}

}  // namespace corvela
