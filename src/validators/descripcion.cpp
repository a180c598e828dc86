#include "validators/descripcion.h"

#include "platform/text.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"

namespace corvela {

const TypeSpec& ADescripcion::type_spec() const {
    static const TypeSpec s = [] {
        TypeSpec t;
        t.type = "AD";
        t.file_word = "Descripción Agrupada";
        t.table = "descripcion";
        t.marcas_length = 15;
        t.fewer_fields_allowed = true;
        return t;
    }();
    return s;
}

void ADescripcion::check_fields(RunContext& run, FileContext& fc) {
    if (!fails_length(run, fc, 1)) fails_empty(fc, 1);
    if (!fails_length(run, fc, 2) && !fails_empty(fc, 2)) fails_ips_code(run, fc, 2);
    if (!fails_length(run, fc, 3) && !fails_empty(fc, 3))
        valida_concepto(run, fc, to_upper(fc.field(3)), 3);
    if (!fails_length(run, fc, 4) && !is_numeric(fc.field(4)))
        field_error(fc, 4, ": No es es numerico");
    if (!fails_length(run, fc, 5) && !fc.field(5).empty() && !is_numeric(fc.field(5)))
        field_error(fc, 5, kSinContenido);
    if (!fails_length(run, fc, 6) && !is_numeric(fc.field(6)))
        field_error(fc, 6, ": No es es numerico");
}

void ADescripcion::store(RunContext& run, FileContext& fc, RowWriter& row) {
    for (int k = 1; k <= 6; ++k) row.text(k, fc.field(k));
    if (fc.field(5).empty()) row.number(5, 0);
    row.number(7, run.radicacion);
    row.insert();
}

}  // namespace corvela
