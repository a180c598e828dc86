#include "validators/otros_servicios.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

namespace {
// The total value is cut only past this many characters; the cut keeps its defined length.
constexpr size_t kLimiteValorTotal = 20;
}  // namespace

void Aotrosservicios::check_fields(RunContext& run, FileContext& fc) {
    if (!cabecera_de_servicio(run, fc, kSinContenido, true)) return;

    lee_campo(run, fc, 5);
    if (static_cast<double>(char_length(ltrim(fc.field(5)))) > run.length_slot)
        field_error(fc, 5, kLongitudMayor);
    fails_length(run, fc, 6);
    fails_length(run, fc, 7);
    // Descriptive and numeric values that are too long are shortened, not rejected.
    for (int k = 8; k <= 10; ++k) {
        lee_campo(run, fc, k);
        recorta(fc.field_ref(k), run.length_slot);
    }
    lee_campo(run, fc, 11);
    if (char_length(fc.field(11)) > kLimiteValorTotal) {
        double keep = run.length_slot;
        fc.field_ref(11) = left_chars(fc.field(11), keep > 0 ? static_cast<size_t>(keep) : 0);
    }

    cedula_no_numerica(fc, {});
    relaciona_usuario(run, fc, fc.field(3), fc.field(4));
    if (!run.slots.user_message.empty()) comma_join(fc, run.slots.user_message, MessageSlot::User);
}

std::string Aotrosservicios::failure_text(const FileContext& fc) const {
    std::string count = number_text(fc.campos_contados);
    return " C " + count + count + " al leer archivo de " + file().file_word + " ";
}

}  // namespace corvela
