#include "validators/service_fields.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"

namespace corvela {

bool usuario_validado(RunContext& run, FileContext& fc) {
    if (existe_usuario(run, fc.field(3), fc.field(4))) return true;
    record_error(fc, kSinUsuario, 23);
    return false;
}

void valida_hora(FileContext& fc, int k, std::string_view hour_message,
                 std::string_view minute_message) {
    const std::string& v = fc.field(k);
    double hour = leading_number_value(mid_chars(v, 1, 2));
    double minutes = leading_number_value(mid_chars(v, 3, 2));
    if (hour < 0 || hour > 23) field_error(fc, k, hour_message);
    if (minutes < 0 || minutes > 59) field_error(fc, k, minute_message);
}

void normaliza_diagnostico(std::string& codigo) {
    std::string_view c = ltrim(codigo);
    if (char_length(c) == 3) codigo = "0" + std::string(c);
    c = ltrim(codigo);
    if (char_length(c) == 2) codigo = "00" + std::string(c);
}

void antepone_cero(std::string& codigo) {
    codigo = "0" + std::string(ltrim(codigo));
}

bool cedula_no_numerica(const FileContext& fc, int tipo) {
    const std::string& numero = fc.field(tipo + 1);
    std::string_view n = ltrim(numero);
    size_t length = char_length(n);
    if (length <= 1 || is_numeric(numero) || fc.field(tipo) != "CC") return false;
    return mid_chars(numero, char_length(numero) - 1, 1) != "-";
}

void recorta(std::string& text, double length) {
    if (static_cast<double>(char_length(text)) > length)
        text = left_chars(text, length > 0 ? static_cast<size_t>(length) : 0);
}

void agrega_mensajes_usuario(const RunContext& run, FileContext& fc) {
    for (const std::string* m :
         {&run.slots.user_message, &run.slots.sex_message, &run.slots.age_message})
        if (!m->empty()) comma_join(fc, *m);
}

bool cabecera_de_servicio(RunContext& run, FileContext& fc, std::string_view factura_vacia,
                          bool tipo_en_mayusculas) {
    if (!fails_length(run, fc, 1)) fails_empty(fc, 1, factura_vacia);
    if (!fails_length(run, fc, 2) && !fails_empty(fc, 2)) fails_ips_code(run, fc, 2);
    std::string tipo = to_upper(fc.field(3));
    if (tipo_en_mayusculas) fc.field_ref(3) = tipo;
    if (!fails_length(run, fc, 3) && !fails_empty(fc, 3)) valida_tipo_documento(run, fc, tipo, 3);
    if (!fails_length(run, fc, 4)) valida_documento(fc, 4);
    return usuario_validado(run, fc);
}

}  // namespace corvela
