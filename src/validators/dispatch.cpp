#include "validators/dispatch.h"

#include <string_view>

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

namespace {
struct Entry {
    std::string_view type;
    std::unique_ptr<RecordValidator> (*make)();
};

template <class V>
constexpr Entry entry() {
    return {V::kType, [] { return std::unique_ptr<RecordValidator>(std::make_unique<V>()); }};
}

constexpr Entry kValidators[] = {
    entry<Ausuarios>(),      entry<ADescripcion>(),     entry<AConsultas>(),
    entry<ATransacciones>(), entry<AProcedimientos>(),  entry<Aotrosservicios>(),
    entry<Aurgencias>(),     entry<Ahospitalizacion>(), entry<Amedicamentos>(),
    entry<Anacidos>(),
};
}  // namespace

std::unique_ptr<RecordValidator> validator_for(const std::string& type) {
    for (const auto& e : kValidators)
        if (e.type == type) return e.make();
    return nullptr;
}

}  // namespace corvela
