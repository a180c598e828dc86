#include "validators/urgencias.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

const TypeSpec& Aurgencias::type_spec() const {
    // The emergencies file writes its failing records without a blank before the slash.
    static const TypeSpec s{.record_separator = "/ linea ", .count_separator = "/ linea "};
    return s;
}

namespace {
constexpr std::string_view kHora = ": Formato de hora incorrecto";
constexpr std::string_view kMinutos = ": Formato de minutos incorrecto";

// Normalises diagnosis field k and looks it up; an unknown code is described after `label`
// (" C9 ", " C15 ") and counted under k.
void diagnostico(RunContext& run, FileContext& fc, int k, std::string_view label) {
    normaliza_diagnostico(fc.field_ref(k));
    valida_cie10(run, fc, fc.field(k), k);
    if (run.slots.diagnosis_message.empty()) return;
    plain_join(fc, label, MessageSlot::Diagnosis);
    plain_join(fc, run.slots.diagnosis_message, MessageSlot::Diagnosis);
    cuenta_error(fc, field_counter(k));
}
}  // namespace

void Aurgencias::check_fields(RunContext& run, FileContext& fc) {
    if (!cabecera_de_servicio(run, fc, kSinContenido, true)) return;

    fecha_de_servicio(run, fc, 5);

    campo_hora(run, fc, 6, kHora, kMinutos);
    fails_length(run, fc, 7);

    if (!fails_length(run, fc, 8) && !fails_empty(fc, 8)) {
        if (char_length(fc.field(8)) != 2) antepone_cero(fc.field_ref(8));
        valida_causa_externa(run, fc, fc.field(8), 8);
    }

    if (!fails_length(run, fc, 9)) {
        fails_empty(fc, 9);
        diagnostico(run, fc, 9, " C9 ");
    }
    for (int k = 10; k <= 12; ++k) fails_length(run, fc, k);
    if (!fails_length(run, fc, 13)) fails_empty(fc, 13);

    if (!fails_length(run, fc, 14) && !fails_empty(fc, 14)) {
        double estado = leading_number_value(fc.field(14));
        if (estado < 1 || estado > 2) field_error(fc, 14, kValoresNoDefinidos);
    }

    if (!fails_length(run, fc, 15) && fc.field(14) == "2") {
        fails_empty(fc, 15);
        diagnostico(run, fc, 15, " C15 ");
    }

    if (!fails_length(run, fc, 16)) valida_fecha(run, fc, 16);
    campo_hora(run, fc, 17, kHora, kMinutos);

    if (cedula_no_numerica(fc, {})) fc.varios_mensajes = 1;
    relaciona_usuario(run, fc, fc.field(3), fc.field(4));
    valida_sexo_dx(run, fc, 9);
    agrega_mensajes_usuario(run, fc);
}

}  // namespace corvela
