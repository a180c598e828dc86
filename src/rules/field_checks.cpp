#include "rules/field_checks.h"

#include "platform/text.h"
#include "rules/error_recording.h"

namespace corvela {

void lee_campo(RunContext& run, const FileContext& fc, int k) {
    if (const FieldDefinition* f = fc.defs->find(k)) {
        run.length_slot = f->Long;
        run.field_slot = f;
    }
}

bool fails_length(RunContext& run, FileContext& fc, int k) {
    lee_campo(run, fc, k);
    if (static_cast<double>(char_length(fc.field(k))) > run.length_slot) {
        field_error(fc, k, kLongitudMayor);
        return true;
    }
    return false;
}

bool fails_exact_length(RunContext& run, FileContext& fc, int k) {
    lee_campo(run, fc, k);
    if (static_cast<double>(char_length(fc.field(k))) != run.length_slot) {
        field_error(fc, k, kLongitudMayorMenor);
        return true;
    }
    return false;
}

bool fails_empty(FileContext& fc, int k, std::string_view message) {
    if (ltrim(fc.field(k)).empty()) {
        field_error(fc, k, message);
        return true;
    }
    return false;
}

bool fails_ips_code(RunContext& run, FileContext& fc, int k) {
    if (fc.field(k) != ltrim(run.cod_eapb_box)) {
        field_error(fc, k, kIpsNoCorresponde);
        return true;
    }
    return false;
}

namespace {
void check_code(RunContext& run, FileContext& fc, CodeTable table, std::string_view value, int k) {
    if (!run.references().has_code(table, value)) field_error(fc, k, kNoDefinido);
}

void check_list(FileContext& fc, std::string_view value, int k, int last) {
    for (int i = 1; i <= last; ++i)
        if (value == std::string(1, static_cast<char>('0' + i))) return;
    field_error(fc, k, kNoDefinido);
}
}  // namespace

void valida_tipo_documento(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::TipoDocumento, value, k);
}
void valida_tipo_documento1(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::TipoDocumento1, value, k);
}
void valida_tipo_usuario(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::TipoUsuario, value, k);
}
void valida_finalidad_consulta(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::FinalidadConsulta, value, k);
}
void valida_causa_externa(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::CausaExterna, value, k);
}
void valida_concepto(RunContext& run, FileContext& fc, std::string_view value, int k) {
    check_code(run, fc, CodeTable::Concepto, value, k);
}
void valida_lista_1a3(FileContext& fc, std::string_view value, int k) {
    check_list(fc, value, k, 3);
}
void valida_lista_1a4(FileContext& fc, std::string_view value, int k) {
    check_list(fc, value, k, 4);
}

}  // namespace corvela
