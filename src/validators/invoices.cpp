#include "validators/invoices.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"
#include "rules/service_checks.h"
#include "validators/service_fields.h"

namespace corvela {

const TypeSpec& InvoicesValidator::type_spec() const {
    static const TypeSpec s{.marks_length = 17};
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
    count_error(fc, counter);
}

// The invoice is issued within its period and not after the remission; checked only when the
// three dates of the invoice are dates.
void check_date_order(const RunContext& run, FileContext& fc) {
    auto expedicion = parse_date(fc.field(6));
    auto inicio = parse_date(fc.field(7));
    auto final_ = parse_date(fc.field(8));
    if (!expedicion || !inicio || !final_) return;
    if (*expedicion < *inicio)
        falla_orden(fc, "Fecha expedición < Fecha de Inicio", Counter::IssuedBeforeStart);
    if (auto remision = parse_date(trim(run.delivery.header.remission_date));
        remision && *expedicion > *remision)
        falla_orden(fc, "Fecha expedición > Fecha de remisión", Counter::IssuedAfterRemission);
    if (*inicio > *final_) falla_orden(fc, "Fecha Inicial > Fecha Final", Counter::StartAfterEnd);
}
}  // namespace

void InvoicesValidator::check_fields(RunContext& run, FileContext& fc) {
    if (!fails_length(run, fc, 1) && !fails_empty(fc, 1, kSinFactura)) fails_ips_code(run, fc, 1);
    if (!fails_length(run, fc, 2)) fails_empty(fc, 2, ": Sin nombre de IPS");
    if (!fails_length(run, fc, 3) && !fails_empty(fc, 3, kSinFactura))
        check_provider_document_type(run, fc, to_upper(fc.field(3)), 3);
    if (!fails_length(run, fc, 4)) check_provider_document(fc, 4);
    if (!fails_length(run, fc, 5)) fails_empty(fc, 5, kSinFactura);
    for (int k = 6; k <= 8; ++k) check_date_field(run, fc, k);
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

    static constexpr IdCardRule kCedula{.hyphen_beyond_two = true};
    non_numeric_id_card(fc, kCedula);
    check_date_order(run, fc);
}

}  // namespace corvela
