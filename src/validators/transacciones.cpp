#include "validators/transacciones.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

const TypeSpec& ATransacciones::type_spec() const {
    static const TypeSpec s{.marcas_length = 17};
    return s;
}

namespace {
constexpr std::string_view kSinFactura = ": Sin numero de factura";
constexpr std::string_view kNoNumerico = ": Contenido no es numerico";

void numerico(FileContext& fc, int k) {
    if (!is_numeric(fc.field(k))) field_error(fc, k, kNoNumerico);
}

void falla_orden(FileContext& fc, std::string_view text, Counter counter) {
    line_error(fc, 0);
    plain_join(fc, text);
    cuenta_error(fc, counter);
}

// The invoice is issued within its period and not after the remission; checked only when the
// three dates of the invoice are dates.
void orden_de_fechas(const RunContext& run, FileContext& fc) {
    auto expedicion = parse_date(fc.field(6));
    auto inicio = parse_date(fc.field(7));
    auto final_ = parse_date(fc.field(8));
    if (!expedicion || !inicio || !final_) return;
    if (*expedicion < *inicio)
        falla_orden(fc, "Fecha expedición < Fecha de Inicio", Counter::ExpedicionAntesDeInicio);
    if (auto remision = parse_date(trim(run.remission_date)); remision && *expedicion > *remision)
        falla_orden(fc, "Fecha expedición > Fecha de remisión", Counter::ExpedicionTrasRemision);
    if (*inicio > *final_) falla_orden(fc, "Fecha Inicial > Fecha Final", Counter::InicioTrasFinal);
}
}  // namespace

void ATransacciones::check_fields(RunContext& run, FileContext& fc) {
    if (!fails_length(run, fc, 1) && !fails_empty(fc, 1, kSinFactura)) fails_ips_code(run, fc, 1);
    if (!fails_length(run, fc, 2)) fails_empty(fc, 2, ": Sin nombre de IPS");
    if (!fails_length(run, fc, 3) && !fails_empty(fc, 3, kSinFactura))
        valida_tipo_documento1(run, fc, to_upper(fc.field(3)), 3);
    if (!fails_length(run, fc, 4)) valida_documento_af(fc, 4);
    if (!fails_length(run, fc, 5)) fails_empty(fc, 5, kSinFactura);
    for (int k = 6; k <= 8; ++k) fecha_de_servicio(run, fc, k);
    if (!fails_length(run, fc, 9)) fails_empty(fc, 9, kSinFactura);
    if (!fails_length(run, fc, 10)) fails_empty(fc, 10, ": Sin nombre de EPS");
    for (int k = 11; k <= 13; ++k) fails_length(run, fc, k);
    if (!fails_length(run, fc, 14) && !fc.field(14).empty()) numerico(fc, 14);
    for (int k = 15; k <= 16; ++k) {
        if (fails_length(run, fc, k)) continue;
        if (fc.field(k).empty()) fc.field_ref(k).assign(1, '0');
        numerico(fc, k);
    }
    if (!fails_length(run, fc, 17)) numerico(fc, 17);

    static constexpr CedulaRule kCedula{.hyphen_beyond_two = true};
    cedula_no_numerica(fc, kCedula);
    orden_de_fechas(run, fc);
}

}  // namespace corvela
