#include "validators/nacidos.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

namespace {
// The newborn's diagnosis, looked up with field 11.
constexpr DxReport kReportDiagnostico{
    11, ", Diagnóstico del recién nacido: ", "Diagnóstico del recién nacido: ", ""};
}  // namespace

void Anacidos::check_fields(RunContext& run, FileContext& fc) {
    fc.guardados = 0;
    if (!cabecera_de_servicio(run, fc, kSinContenido, false)) return;

    fecha_de_servicio(run, fc, 5);

    lee_campo(run, fc, 6);
    if (ltrim(fc.field(6)).empty() ||
        static_cast<double>(char_length(fc.field(6))) > run.length_slot)
        field_error(fc, 6, ": Con longitud mayor a la definida o no tiene contenido");
    else
        valida_hora(fc, 6, ": Formato de hora incorrecto", ":Formato de minutos incorrecto");

    if (!fails_length(run, fc, 7) && !is_numeric(fc.field(7)))
        field_error(fc, 7, ": el contenido no es numerico");

    if (!fails_length(run, fc, 8) && !fails_empty(fc, 8)) {
        double control = leading_number_value(fc.field(8));
        if (control > 2) field_error(fc, 8, kValoresNoDefinidos);
        if (control <= 0) field_error(fc, 8, kValoresNoDefinidos);
    }

    if (!fails_length(run, fc, 9) && !fails_empty(fc, 9)) {
        if (fc.field(9) == "1") field_error(fc, 9, ": Los valores permitidos son M o F no 1");
        if (fc.field(9) == "2") field_error(fc, 9, ": Los valores permitidos son M o F no 2");
    }

    if (!fails_length(run, fc, 10)) fails_empty(fc, 10);

    if (!fails_length(run, fc, 11) && !fails_empty(fc, 11)) {
        normaliza_diagnostico(fc.field_ref(11));
        valida_cie10(run, fc, fc.field(11), 11);
    }

    fails_length(run, fc, 12);
    if (!fails_length(run, fc, 13) && !ltrim(fc.field(13)).empty()) {
        if (is_valid_date(fc.field(13)))
            valida_fecha(run, fc, 13);
        else
            field_error(fc, 13, ": Contenido no cumple con el formato de fecha");
    }
    fails_length(run, fc, 14);

    informa_diagnostico(run, fc, kReportDiagnostico);
    cedula_no_numerica(fc, {});
    relaciona_usuario(run, fc, fc.field(3), fc.field(4));
    valida_sexo_dx(run, fc, 11);
    agrega_mensajes_usuario(run, fc);
}

}  // namespace corvela
