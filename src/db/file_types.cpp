#include "db/file_types.h"

#include <stdexcept>

#include "platform/text.h"

namespace corvela {

namespace {
constexpr Column text(const char* name) {
    return {name, ColumnType::Text, Binding::Text};
}
constexpr Column text_or_null(const char* name) {
    return {name, ColumnType::Text, Binding::TextOrNull};
}
constexpr Column number(const char* name) {
    return {name, ColumnType::Number, Binding::Number};
}
constexpr Column date(const char* name) {
    return {name, ColumnType::Date, Binding::Date};
}
constexpr Column kRadicacion{"num_radicacion", ColumnType::Number, Binding::Radicacion};

constexpr Column kUsuario[] = {
    text("tipo_identificacion"),
    text("numero_identificacion"),
    text_or_null("COD_EAPB"),
    text("tipo_usuario"),
    text("primer_apellido"),
    text_or_null("segundo_apellido"),
    text_or_null("primer_nombre"),
    text_or_null("segundo_nombre"),
    number("edad"),
    text("unidad_medida"),
    text("sexo"),
    text("cod_depto"),
    text("cod_muni"),
    text("ZONA_RESIDENCIA"),
    kRadicacion,
};

constexpr Column kTransacciones[] = {
    text("COD_IPS"),
    text("razon_social"),
    text("tipo_identificacion"),
    text("num_identificacion"),
    text("num_factura"),
    date("fecha_expedicion"),
    date("fecha_inicio"),
    date("fecha_final"),
    text("COD_EAPB"),
    text("nombre_eapb"),
    text_or_null("num_contrato"),
    text_or_null("plan"),
    text_or_null("num_poliza"),
    number("valor_copago"),
    number("valor_comision"),
    number("valor_descuento"),
    number("valor_neto"),
    kRadicacion,
};

constexpr Column kConsulta[] = {
    text("num_factura"),         text("COD_IPS"),
    text("tipo_identificacion"), text("num_identificacion"),
    date("fecha_consul"),        text_or_null("num_autorizacion"),
    text("cod_consul"),          text("finalidad_consul"),
    text("causa_externa"),       text("cod_diag_prin"),
    text_or_null("cod_diag_r1"), text_or_null("cod_diag_r2"),
    text_or_null("cod_diag_r3"), text_or_null("tipo_diag"),
    number("valor_consul"),      number("valor_cuota"),
    number("valor_neto"),        kRadicacion,
};

constexpr Column kProcedimientos[] = {
    text("num_factura"),
    text("COD_IPS"),
    text("tipo_identificacion"),
    text("num_identificacion"),
    date("fecha"),
    text_or_null("num_autorizacion"),
    text("cod_proci"),
    text("ambito"),
    text("finalidad"),
    text_or_null("personal"),
    text_or_null("diag_prin"),
    text_or_null("diag_r1"),
    text_or_null("complicacion"),
    text_or_null("forma_acto"),
    number("valor"),
    kRadicacion,
};

constexpr Column kUrgencias[] = {
    text("num_factura"),
    text("COD_IPS"),
    text("tipo_identificacion"),
    text("num_identificacion"),
    date("fecha_ingreso"),
    text("hora_ingreso"),
    text_or_null("num_autorizacion"),
    text("causa_externa"),
    text("diag_prin"),
    text_or_null("diag_r1"),
    text_or_null("diag_r2"),
    text_or_null("diag_r3"),
    text("destino"),
    text("estado"),
    text_or_null("causa_muerte"),
    date("fecha_salida"),
    text("hora_salida"),
    kRadicacion,
};

constexpr Column kHospitalizacion[] = {
    text("num_factura"),
    text("COD_IPS"),
    text("tipo_identi"),
    text("NUMERO_IDENTI"),
    text("via_ingreso"),
    date("fecha_ingreso"),
    text_or_null("hora_ingreso"),
    text_or_null("num_autorizacion"),
    text("causa_externa"),
    text("diag_prin_ingre"),
    text("diag_prin_egre"),
    text_or_null("diag_egre1"),
    text_or_null("diag_egre2"),
    text_or_null("diag_egre3"),
    text_or_null("diag_compli"),
    text("estado_salida"),
    text_or_null("diag_muerte"),
    date("fecha_egre"),
    text("hora_egre"),
    kRadicacion,
};

constexpr Column kNacidos[] = {
    text("num_factura"),
    text("COD_IPS"),
    text("tipo_identificacion"),
    text("numero_identificacion"),
    date("fecha_naci"),
    text("HORA"),
    number("edad_gestacional"),
    text("control_prena"),
    text("sexo"),
    number("peso"),
    text("diag_rn"),
    text_or_null("causa_muerte"),
    date("fecha_muerte"),
    text_or_null("hora_muerte"),
    kRadicacion,
};

constexpr Column kMedicamentos[] = {
    text("num_factura"),
    text("COD_IPS"),
    text("tipo_identificacion"),
    text("num_identificacion"),
    text_or_null("num_autorizacion"),
    text_or_null("cod_medicamento"),
    text("tipo_medi"),
    text("nombre_medi"),
    text("forma_farm"),
    text("concentracion"),
    text("unidad_medica"),
    number("unidades"),
    number("valor_unitario"),
    number("valor_total"),
    kRadicacion,
    {"fecha", ColumnType::Date, Binding::Validator},
};

constexpr Column kOtrosers[] = {
    text("num_factura"),
    text("COD_IPS"),
    text("tipo_identificacion"),
    text("num_identificacion"),
    text_or_null("num_autorizacion"),
    text("tipo_serv"),
    text_or_null("cod_serv"),
    text_or_null("nombre_serv"),
    number("cantidad"),
    number("valor_unitario"),
    number("valor_total"),
    kRadicacion,
};

constexpr Column kDescripcion[] = {
    text("num_factura"),      text("COD_IPS"),       text("cod_concepto"), number("cantidad"),
    number("valor_unitario"), number("valor_total"), kRadicacion,
};

constexpr FileType kFileTypes[] = {
    {"US", "Usuarios", "usuario", "f_usuario", kUsuario, nullptr},
    {"AF", "transaccion", "transacciones", "f_transacciones", kTransacciones, nullptr},
    {"AC", "Consulta", "consulta", "f_consulta", kConsulta, "fecha_consul"},
    {"AP", "Procedimientos", "procedimientos", "f_procedimientos", kProcedimientos, "fecha"},
    {"AU", "Urgencias", "urgencias", "f_urgencias", kUrgencias, "fecha_salida"},
    {"AH", "Hospitalizados", "hospitalizacion", "f_hospitalizacion", kHospitalizacion,
     "fecha_egre"},
    {"AN", "Recien Nacidos", "nacidos", "f_nacidos", kNacidos, "fecha_naci"},
    {"AM", "Medicamentos", "medicamentos", "f_medicamentos", kMedicamentos, nullptr},
    {"AT", "otrosers", "Otrosers", "f_Otrosers", kOtrosers, nullptr},
    {"AD", "Descripción Agrupada", "descripcion", "f_descripcion", kDescripcion, nullptr},
};
}  // namespace

std::span<const FileType> file_types() {
    return kFileTypes;
}

const FileType* find_file_type(std::string_view code) {
    for (const auto& t : kFileTypes)
        if (code == t.type) return &t;
    return nullptr;
}

const FileType& file_type(std::string_view code) {
    if (const FileType* t = find_file_type(code)) return *t;
    throw std::logic_error("tipo de archivo desconocido: " + std::string(code));
}

std::vector<std::string> column_names(const FileType& type) {
    std::vector<std::string> names;
    for (const auto& c : type.columns) names.emplace_back(c.name);
    return names;
}

size_t field_column_count(const FileType& type) {
    size_t n = 0;
    for (const auto& c : type.columns)
        if (c.binding != Binding::Radicacion && c.binding != Binding::Validator) ++n;
    return n;
}

const char* radicacion_column(const FileType& type) {
    for (const auto& c : type.columns)
        if (c.binding == Binding::Radicacion) return c.name;
    throw std::logic_error(std::string("la tabla ") + type.table + " no tiene radicación");
}

bool has_column(const FileType& type, std::string_view name) {
    for (const auto& c : type.columns)
        if (equals_nocase(c.name, name)) return true;
    return false;
}

}  // namespace corvela
