#include "validators/urgencias.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

const TypeSpec& Aurgencias::type_spec() const {
    static const TypeSpec s = [] {
        TypeSpec t;
        t.type = "AU";
        t.file_word = "Urgencias";
        t.table = "urgencias";
        // The emergencies file writes its failing records without a blank before the slash.
        t.record_separator = "/ linea ";
        t.count_separator = "/ linea ";
        return t;
    }();
    return s;
}

namespace {
constexpr std::string_view kHora = ": Formato de hora incorrecto";
constexpr std::string_view kMinutos = ": Formato de minutos incorrecto";

// Normalises diagnosis field k and looks it up; an unknown code is described after `label`
// (" C9 ", " C15 ") and counted under k.
void diagnostico(RunContext& run, FileContext& fc, int k, std::string_view label) {
    normaliza_diagnostico(fc.field_ref(k));
    valida_cie10(run, fc, fc.field(k));
    if (run.slots.diagnosis_message.empty()) return;
    plain_join(fc, label);
    plain_join(fc, run.slots.diagnosis_message);
    cuenta_error(fc, k);
}

void hora(RunContext& run, FileContext& fc, int k) {
    if (!fails_length(run, fc, k) && !fails_empty(fc, k)) valida_hora(fc, k, kHora, kMinutos);
}
}  // namespace

void Aurgencias::check_fields(RunContext& run, FileContext& fc) {
    if (!cabecera_de_servicio(run, fc, kSinContenido, true)) return;

    fecha_de_servicio(run, fc, 5);

    hora(run, fc, 6);
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
    hora(run, fc, 17);

    if (cedula_no_numerica(fc, 3)) {
        record_error(fc, kCedulaNoNumerica, 22);
        fc.varios_mensajes = 1;
    }
    relaciona_usuario(run, fc, fc.field(3), fc.field(4));
    valida_sexo_dx(run, fc, 9);
    agrega_mensajes_usuario(run, fc);
}

void Aurgencias::store(RunContext& run, FileContext& fc, RowWriter& row) {
    for (int k = 1; k <= 4; ++k) row.text(k, fc.field(k));
    row.date(5, fc.field(5));
    row.text(6, fc.field(6));
    row.text_or_null(7, fc.field(7));
    row.text(8, fc.field(8));
    row.text(9, fc.field(9));
    for (int k = 10; k <= 12; ++k) row.text_or_null(k, fc.field(k));
    row.text(13, fc.field(13));
    row.text(14, fc.field(14));
    row.text_or_null(15, fc.field(15));
    row.date(16, fc.field(16));
    row.text(17, fc.field(17));
    row.number(18, run.radicacion);
    row.insert();
}

}  // namespace corvela
