#include "validators/procedimientos.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

namespace {
// The document number of a procedure is never longer than this, whatever its definition says.
constexpr size_t kLongitudDocumento = 20;
}  // namespace

void AProcedimientos::check_fields(RunContext& run, FileContext& fc) {
    if (!fails_length(run, fc, 1) && fails_empty(fc, 1)) plain_join(fc, " Sin factura ");
    if (!fails_length(run, fc, 2) && !fails_empty(fc, 2)) fails_ips_code(run, fc, 2);
    fc.field_ref(3) = to_upper(fc.field(3));
    if (!fails_length(run, fc, 3) && !fails_empty(fc, 3))
        valida_tipo_documento(run, fc, fc.field(3), 3);
    lee_campo(run, fc, 4);
    if (char_length(fc.field(4)) > kLongitudDocumento) field_error(fc, 4, kLongitudMayor);

    // The user is looked up with the number as written in the file.
    if (!usuario_validado(run, fc)) return;

    fecha_de_servicio(run, fc, 5);
    fails_length(run, fc, 6);
    if (!fails_length(run, fc, 7) && !fails_empty(fc, 7))
        valida_cups(run, fc, 7, run.data_file_name, fc.field(7), fc.field(3), fc.field(4));
    if (!fails_length(run, fc, 8) && !fails_empty(fc, 8)) valida_lista_1a3(fc, fc.field(8), 8);
    if (!fails_length(run, fc, 9) && !fails_empty(fc, 9))
        valida_tipo_usuario(run, fc, fc.field(9), 9);
    fails_length(run, fc, 10);

    lee_campo(run, fc, 11);
    if (static_cast<double>(char_length(fc.field(11))) > run.length_slot) {
        fc.field_ref(11) = left_chars(fc.field(11), 4);
        field_error(fc, 11, kLongitudMayor);
    } else if (!ltrim(fc.field(11)).empty()) {
        valida_cie10(run, fc, fc.field(11), 11);
    } else {
        // Without a principal diagnosis any user's sex fits.
        run.dx_sexo = "A";
    }
    for (int k = 12; k <= 14; ++k) fails_length(run, fc, k);
    if (!fails_length(run, fc, 15) && ltrim(fc.field(15)).empty()) fc.field_ref(15) = "0";

    static constexpr CedulaRule kCedula{.two_characters = "Numero de Identificación desconocida",
                                        .two_characters_counter = Counter::DocumentoDosCaracteres};
    cedula_no_numerica(fc, kCedula);
    relaciona_usuario(run, fc, fc.field(3), fc.field(4));
    valida_documento(fc, 4);
    if (run.slots.procedure_message.empty()) valida_sexo_dx(run, fc, 16);
    agrega_mensajes(
        run, fc, {MessageSlot::User, MessageSlot::Diagnosis, MessageSlot::Sex, MessageSlot::Age});
}

}  // namespace corvela
