#include "validators/dispatch.h"

#include <string_view>

#include "validators/consultations.h"
#include "validators/emergencies.h"
#include "validators/grouped_services.h"
#include "validators/hospitalisations.h"
#include "validators/invoices.h"
#include "validators/medications.h"
#include "validators/newborns.h"
#include "validators/other_services.h"
#include "validators/procedures.h"
#include "validators/users.h"

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
    entry<UsersValidator>(),         entry<GroupedServicesValidator>(),
    entry<ConsultationsValidator>(), entry<InvoicesValidator>(),
    entry<ProceduresValidator>(),    entry<OtherServicesValidator>(),
    entry<EmergenciesValidator>(),   entry<HospitalisationsValidator>(),
    entry<MedicationsValidator>(),   entry<NewbornsValidator>(),
};
}  // namespace

std::unique_ptr<RecordValidator> validator_for(const std::string& type) {
    for (const auto& e : kValidators)
        if (e.type == type) return e.make();
    return nullptr;
}

}  // namespace corvela
