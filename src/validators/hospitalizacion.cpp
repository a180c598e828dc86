#include "validators/hospitalizacion.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

const TypeSpec& Ahospitalizacion::type_spec() const {
    static const TypeSpec s = [] {
        TypeSpec t;
        t.type = "AH";
        t.file_word = "Hospitalizados";
        t.table = "hospitalizacion";
        return t;
    }();
    return s;
}

namespace {
constexpr std::string_view kIngreso = "Diagnóstico principal de ingreso: ";
constexpr std::string_view kEgreso = "Diagnóstico principal de  egreso: ";
constexpr std::string_view kMuerte = "Diagnóstico causa basica de muerte: ";

// How an unknown diagnosis of one field is introduced in the description.
struct DxReport {
    int k;
    std::string_view comma_form, plain_form, before_message;
};
constexpr DxReport kReportIngreso{
    10, ", Diagnóstico principal de ingreso: ", "Diagnóstico principal de ingreso: ", " "};
constexpr DxReport kReportEgreso{
    11, ",Diagnóstico principal de  egreso: ", " Diagnóstico principal de  egreso: ", ""};
constexpr DxReport kReportMuerte{
    17, ",Diagnóstico causa basica de muerte: ", " Diagnóstico causa basica de muerte: ", ""};

// Looks up the diagnosis of field r.k. An unknown code is described and counted only when it
// is the line's only error so far, or when other messages came before it and errors were added
// since the last report; otherwise the line fails without a word on it.
void diagnostico(RunContext& run, FileContext& fc, const DxReport& r) {
    valida_cie10(run, fc, fc.field(r.k));
    const std::string& message = run.slots.diagnosis_message;
    if (message.empty()) return;
    bool alone = fc.errores_linea == 1 && fc.varios_mensajes == 0;
    bool after_others =
        fc.errores_linea > 1 && fc.varios_mensajes == 1 && fc.errores_linea != fc.guardados;
    if (!alone && !after_others) return;
    plain_join(fc, fc.descripcion.empty() ? r.plain_form : r.comma_form);
    plain_join(fc, r.before_message);
    plain_join(fc, message);
    if (alone) fc.varios_mensajes = 1;
    fc.guardados = fc.errores_linea;
    cuenta_error(fc, r.k);
}

// `descripcion` + (", " + label or the label alone) + message.
void describe(FileContext& fc, std::string_view comma, std::string_view label,
              std::string_view message) {
    if (!fc.descripcion.empty()) plain_join(fc, comma);
    plain_join(fc, label);
    plain_join(fc, message);
}

void hora(RunContext& run, FileContext& fc, int k, std::string_view hour_message,
          std::string_view minute_message) {
    if (!fails_length(run, fc, k) && !fails_empty(fc, k))
        valida_hora(fc, k, hour_message, minute_message);
}

void diagnostico_normalizado(RunContext& run, FileContext& fc, int k) {
    if (!fails_length(run, fc, k) && !fails_empty(fc, k)) normaliza_diagnostico(fc.field_ref(k));
}
}  // namespace

void Ahospitalizacion::check_fields(RunContext& run, FileContext& fc) {
    fc.guardados = 0;
    if (!cabecera_de_servicio(run, fc, kSinContenido, true)) return;

    if (!fails_length(run, fc, 5) && !fails_empty(fc, 5)) valida_lista_1a4(fc, fc.field(5), 5);
    if (!fails_length(run, fc, 6)) valida_fecha(run, fc, 6);
    hora(run, fc, 7, ": formato de hora incorrecto", ": formato de minutos incorrecto");
    fails_length(run, fc, 8);

    if (!fails_length(run, fc, 9) && !fails_empty(fc, 9)) {
        // The length in force is the one of field 9.
        if (static_cast<double>(char_length(fc.field(9))) != run.length_slot)
            antepone_cero(fc.field_ref(9));
        valida_causa_externa(run, fc, fc.field(9), 9);
    }

    diagnostico_normalizado(run, fc, 10);
    diagnostico_normalizado(run, fc, 11);
    for (int k = 12; k <= 15; ++k) fails_length(run, fc, k);

    if (!fails_length(run, fc, 16) && !fails_empty(fc, 16)) {
        double estado = leading_number_value(fc.field(16));
        if (estado < 1 || estado > 2)
            field_error(fc, 16, ": Contenido no correspondes a los valores definidos");
    }
    if (!fails_length(run, fc, 17) && fc.field(16) == "2" && !fails_empty(fc, 17))
        normaliza_diagnostico(fc.field_ref(17));

    if (!fails_length(run, fc, 18)) valida_fecha(run, fc, 18);
    hora(run, fc, 19, ": Formato de hora incorrecto", ": Formato de minutos incorrecto");

    // Record checks: their order matters, each diagnosis report reads the error count and the
    // several-messages flag as the checks before it left them.
    if (cedula_no_numerica(fc, 3)) {
        record_error(fc, kCedulaNoNumerica, 22);
        fc.varios_mensajes = 1;
        fc.guardados = fc.errores_linea;
    }

    diagnostico(run, fc, kReportIngreso);
    relaciona_usuario(run, fc, fc.field(3), fc.field(4));
    valida_sexo_dx(run, fc, 10);
    if (!run.slots.sex_message.empty()) {
        describe(fc, ", ", kIngreso, run.slots.sex_message);
        cuenta_error(fc, 24);
    }
    if (!run.slots.age_message.empty()) describe(fc, ",  ", kIngreso, run.slots.age_message);

    diagnostico(run, fc, kReportEgreso);
    valida_sexo_dx(run, fc, 11);
    if (!run.slots.sex_message.empty()) describe(fc, ", ", kEgreso, run.slots.sex_message);
    if (!run.slots.age_message.empty()) describe(fc, ", ", kEgreso, run.slots.age_message);

    if (fc.field(16) == "2") {
        diagnostico(run, fc, kReportMuerte);
        valida_sexo_dx(run, fc, 17);
        if (!run.slots.sex_message.empty()) {
            describe(fc, ", ", kMuerte, run.slots.sex_message);
            cuenta_error(fc, 25);
        }
        if (!run.slots.age_message.empty()) {
            describe(fc, ", ", kMuerte, run.slots.age_message);
            cuenta_error(fc, 25);
        }
    }

    auto ingreso = parse_date(fc.field(6));
    auto egreso = parse_date(fc.field(18));
    if (ingreso && egreso && *ingreso > *egreso) {
        fc.errores_linea += 1;
        plain_join(fc, " Fecha de ingreso mayor que fecha de egreso ");
        cuenta_error(fc, 26);
    }

    if (!run.slots.user_message.empty()) comma_blank_join(fc, run.slots.user_message);
}

void Ahospitalizacion::store(RunContext& run, FileContext& fc, RowWriter& row) {
    for (int k = 1; k <= 5; ++k) row.text(k, fc.field(k));
    row.date(6, fc.field(6));
    row.text_or_null(7, fc.field(7));
    row.text_or_null(8, fc.field(8));
    for (int k = 9; k <= 11; ++k) row.text(k, fc.field(k));
    for (int k = 12; k <= 15; ++k) row.text_or_null(k, fc.field(k));
    row.text(16, fc.field(16));
    row.text_or_null(17, fc.field(17));
    row.date(18, fc.field(18));
    row.text(19, fc.field(19));
    row.number(20, run.radicacion);
    row.insert();
}

}  // namespace corvela
