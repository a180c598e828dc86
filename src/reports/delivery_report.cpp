#include "reports/delivery_report.h"

#include <array>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <variant>

#include "platform/failure.h"
#include "platform/text.h"

namespace corvela {

namespace {
// The runtime's numbers of the report's own failures.
constexpr int kSubscriptOutOfRange = 9;
constexpr int kNoCurrentRecord = 3021;

[[noreturn]] void out_of_range() {
    throw NumberedFailure(kSubscriptOutOfRange, "Subíndice fuera del intervalo");
}

// A column value as the list view shows it.
std::string shown_value(const Statement& st, int column) {
    switch (st.type(column)) {
        case StoredType::Null:
            return {};
        case StoredType::Integer:
            return std::to_string(st.integer(column));
        case StoredType::Real:
            return value_text(st.real(column));
        default:
            return st.text(column);
    }
}

// A column of the current row by its name, letter case ignored as the database matches names.
std::string column_text(const Statement& st, const char* name) {
    return st.text(st.column_index(name));
}

struct FixedLabel {
    int d;
    const char* text;
};
struct TypeLabels {
    const char* type;
    const char* name;
    std::vector<FixedLabel> fixed;
};

const char* const kStructure = "Error estructura de registro";
const char* const kCedula = "Numero de Identificación es tipo cedula y no es numerico";
const char* const k812 = "Validaciones resolución 812/2007";

const std::vector<TypeLabels>& type_labels() {
    static const std::vector<TypeLabels> t = {
        {"US",
         "Usuarios",
         {{6, kStructure},
          {7, kCedula},
          {8, "Edad no concuerda con la definida"},
          {9, "Municipio y Departamento no concuerda"},
          {14, k812}}},
        {"AF",
         "Transacciones",
         {{3, kStructure},
          {4, kCedula},
          {5, "Fecha expedición < Fecha de Inicio"},
          {6, "Fecha expedición > Fecha de remisión"},
          {7, "Fecha Inicial > Fecha Final"},
          {11, k812}}},
        {"AC",
         "Consultas",
         {{3, kStructure},
          {4, kCedula},
          {5, "Sin usuario"},
          {6, "Diagnostico no corresponde al sexo"},
          {11, k812}}},
        {"AP",
         "Procedimientos",
         {{5, kStructure},
          {6, kCedula},
          {7, "Sin usuario"},
          {8, "Diagnostico no corresponde al sexo"},
          {13, k812}}},
        {"AU",
         "Urgencias",
         {{3, kStructure},
          {4, kCedula},
          {5, "Sin Usuario"},
          {6, "Diagnostico no corresponde al sexo"},
          {11, k812}}},
        {"AH",
         "Hospitalización",
         {{1, kStructure},
          {2, kCedula},
          {3, "Sin usuario"},
          {4, "Diagnostico de Ingreso no corresponde al sexo"},
          {5, "Diagnostico de egreso no corresponde al sexo"},
          {6, "Fecha de ingreso mayor a lafecha de egreso"},
          {7, "Diagnostico R1 no corresponde al sexo"},
          {8, "Diagnostico R2 no corresponde al sexo"},
          {9, k812}}},
        {"AN",
         "Recién Nacidos",
         {{6, kStructure},
          {7, kCedula},
          {8, "Sin usuario"},
          {9, "Diagnostico no corresponde al sexo del recien nacido"},
          {10, k812}}},
        {"AM", "Medicamentos", {{6, kStructure}, {7, kCedula}, {8, "Sin Usuario"}, {14, k812}}},
        {"AT", "Otros Servicios", {{9, kStructure}, {10, kCedula}, {11, "Sin usuario"}}},
        {"AD", "Agrupada", {{14, kStructure}}},
    };
    return t;
}

const TypeLabels* labels_of(const std::string& type) {
    for (const auto& t : type_labels())
        if (type == t.type) return &t;
    return nullptr;
}

// The inconsistency label table: rows 0 to 20, columns 0 to 30, texts and numbers.
using LabelCell = std::variant<std::monostate, std::string, double>;
constexpr int kLabelRows = 21;
constexpr int kLabelColumns = 31;

class LabelTable {
  public:
    LabelTable() : cells_(kLabelRows * kLabelColumns) {}
    LabelCell& at(int row, int col) {
        if (row < 0 || row >= kLabelRows || col < 0 || col >= kLabelColumns) out_of_range();
        return cells_[static_cast<size_t>(row * kLabelColumns + col)];
    }
    std::string text(int row, int col) {
        const LabelCell& c = at(row, col);
        if (auto s = std::get_if<std::string>(&c)) return *s;
        if (auto d = std::get_if<double>(&c)) return value_text(*d);
        return {};
    }
    bool empty(int row, int col) {
        const LabelCell& c = at(row, col);
        if (auto s = std::get_if<std::string>(&c)) return s->empty();
        return std::holds_alternative<std::monostate>(c);
    }

  private:
    std::vector<LabelCell> cells_;
};

std::vector<FileCounters> error_rows(Database& work, const std::string& ips_condition,
                                     const std::string& ips_code, const DeliveryParts& parts) {
    Statement st = work.prepare("SELECT * from " + work.saved_errors_table() +
                                " WHERE  cod_eapb =" + ips_condition +
                                " and nro_remision=? and nro_radicacion=val(?)");
    st.bind(1, ips_code);
    st.bind(2, parts.remission);
    st.bind(3, parts.radicacion);
    std::vector<FileCounters> rows;
    while (st.step()) {
        FileCounters r;
        r.tipo = column_text(st, "tipo");
        for (int j = 1; j <= 29 && j + 3 < st.column_count(); ++j)
            if (!st.is_null(j + 3)) r.counters[static_cast<size_t>(j)] = st.real(j + 3);
        rows.push_back(std::move(r));
    }
    return rows;
}

}  // namespace

ListView inconsistency_list(Database& ref, const std::vector<FileCounters>& errors) {
    LabelTable cells;
    int r = 0;
    Statement campos = ref.prepare("select * from r_campos where  archivo =?");
    for (const FileCounters& e : errors) {
        campos.bind(1, e.tipo);
        std::string archivo;
        std::vector<std::string> fields;
        bool first = true;
        while (campos.step()) {
            if (first) archivo = column_text(campos, "archivo");
            first = false;
            fields.push_back(column_text(campos, "dato"));
        }
        campos.reset();
        if (first) throw NumberedFailure(kNoCurrentRecord, "No hay ningún registro activo.");
        cells.at(r, 0) = file_type_name(archivo);
        std::vector<std::string> labels = counter_labels(archivo, fields);
        for (size_t k = 1; k < labels.size(); ++k)
            if (!labels[k].empty()) cells.at(r, static_cast<int>(k)) = labels[k];
        cells.at(r + 1, 0) = std::string("Frecuencia");
        double sum = 0;
        for (int j = 1; j <= 29; ++j) {
            const auto& value = e.counters[static_cast<size_t>(j)];
            if (value) {
                cells.at(r + 1, j) = *value;
                sum += *value;
            }
        }
        cells.at(r, 30) = std::string("Total inconsistencias");
        cells.at(r + 1, 30) = sum;
        r += 2;
    }

    ListView lv;
    for (int i = 0; i < kLabelRows && !cells.empty(i, 0); ++i)
        lv.column_headers.push_back(cells.text(i, 0));
    const int columns = static_cast<int>(lv.column_headers.size());
    for (int j = 1; j <= 30; ++j) {
        std::vector<std::string> item{cells.text(0, j)};
        for (int c = 1; c < columns; ++c) item.push_back(cells.text(c, j));
        lv.items.push_back(std::move(item));
    }
    return lv;
}

std::string file_type_name(const std::string& type) {
    const TypeLabels* t = labels_of(type);
    return t ? t->name : "";
}

std::vector<std::string> counter_labels(const std::string& type,
                                        const std::vector<std::string>& fields) {
    std::vector<std::string> labels(kLabelColumns);
    size_t k = 1;
    for (const auto& f : fields) {
        if (k >= labels.size()) out_of_range();
        labels[k++] = f;
    }
    if (const TypeLabels* t = labels_of(type))
        for (const FixedLabel& fixed : t->fixed) {
            size_t at = k + static_cast<size_t>(fixed.d);
            if (at >= labels.size()) out_of_range();
            labels[at] = fixed.text;
        }
    return labels;
}

std::vector<IpsRow> ips_rows(Database& work) {
    Statement st = work.prepare(
        "select distinct eapb as codigo,nombre from impre_registros order by codigo, nombre");
    std::vector<IpsRow> rows;
    while (st.step()) {
        IpsRow r;
        if (!st.is_null(0)) r.code = st.text(0);
        if (!st.is_null(1)) r.name = st.text(1);
        rows.push_back(std::move(r));
    }
    return rows;
}

const IpsRow* find_ips(const std::vector<IpsRow>& rows, const std::string& name) {
    for (const auto& r : rows)
        if (r.name && equals_nocase(*r.name, name)) return &r;
    return nullptr;
}

std::vector<std::string> delivery_entries(Database& work, const std::string& ips_code,
                                          DeliveryKey key) {
    const std::string where = key == DeliveryKey::Eapb ? "eapb=?" : "eapb || sede=?";
    Statement st =
        work.prepare("select distinct nro_remision,nro_radicacion from registros where " + where +
                     " and impresion<>1 order by nro_remision, nro_radicacion");
    st.bind(1, ips_code);
    std::vector<std::string> entries;
    while (st.step()) {
        if (st.is_null(0))
            entries.emplace_back();
        else
            entries.push_back(st.text(0) + "/" + number_text(st.real(1)));
    }
    return entries;
}

DeliveryParts split_delivery(const std::string& text) {
    size_t slash = text.find('/');
    if (slash == std::string::npos) return {std::string(trim(text)), std::string()};
    return {std::string(trim(std::string_view(text).substr(0, slash))), text.substr(slash + 1)};
}

Status reports_available(Program& program) {
    if (Status ready = program.connection_ready(); !ready.ok()) return ready;
    if (!ips_rows(*program.work).empty()) return Status::done();
    program.ui.message("No existen registros para imprimir", "Sin registros.", Icon::Information);
    return Status::stopped();
}

void DeliveryReport::load() {
    ips_ = ips_rows(*program_.work);
    if (!ips_.empty()) select_ips(ips_.front().shown());
}

void DeliveryReport::select_ips(const std::string& name) {
    if (const IpsRow* row = find_ips(ips_, name)) ips_code_ = row->code;
    deliveries_ = delivery_entries(*program_.work, ips_code_, DeliveryKey::Eapb);
    delivery_ = deliveries_.empty() ? std::string() : deliveries_.front();
}

Status DeliveryReport::show_summary() {
    title_ = "Resultado Validación";
    DeliveryParts parts = split_delivery(delivery_);
    Ui& ui = program_.ui;
    ui.set_busy(true);
    Status shown = Status::failed();
    try {
        Statement st = program_.work->prepare(
            // The headers are the columns' names as written here, on every engine.
            "SELECT Archivo as \"Archivo\", Leidos as \"Leidos\", Errados as "
            "\"Inconsistentes\", pasaron as \"Pasan_Validacion\", SUBEN as \"Reg_Correctos\" "
            "from  informe_validacion "
            "WHERE  habilitacion =? and nro_remision=? and impresion=0 and "
            "nro_radicacion=val(?)");
        st.bind(1, ips_code_);
        st.bind(2, parts.remission);
        st.bind(3, parts.radicacion);
        ListView lv;
        for (int i = 0; i < st.column_count(); ++i) lv.column_headers.push_back(st.column_name(i));
        while (st.step()) {
            std::vector<std::string> item;
            for (int i = 0; i < st.column_count(); ++i) item.push_back(shown_value(st, i));
            lv.items.push_back(std::move(item));
        }
        list_ = std::move(lv);
        shown = Status::done();
    } catch (const std::exception& e) {
        ui.message(e.what(), "Error", Icon::Critical);
    }
    ui.set_busy(false);
    return shown;
}

Status DeliveryReport::show_inconsistencies() {
    Ui& ui = program_.ui;
    ui.set_busy(true);
    Status shown = Status::failed();
    try {
        title_ = "Resumen de inconsistencias por archivo y campo";
        DeliveryParts parts = split_delivery(delivery_);
        Database& work = *program_.work;
        std::vector<FileCounters> errors = error_rows(work, "?", ips_code_, parts);
        // Some deliveries carry only the first ten characters of the IPS code.
        if (errors.empty()) errors = error_rows(work, "mid(?,1,10)", ips_code_, parts);
        if (errors.empty()) {
            ui.message(
                "No existen registros de inconsistencia, para la IPS y la remisión seleccionada",
                "Sin información de errores", Icon::Information);
            shown = Status::stopped();
        } else {
            list_ = inconsistency_list(*program_.ref, errors);
            shown = Status::done();
        }
    } catch (const std::exception& e) {
        ui.message(failure_message(describe_failure(e).number, " al generar el archivo de Word ",
                                   e.what()),
                   "Error", Icon::Critical);
    }
    ui.set_busy(false);
    return shown;
}

Result<std::string> DeliveryReport::export_page(const std::string& output_path) {
    HtmlTable html(program_.ui, program_.clock);
    html.set_cell_align(0);
    html.set_column_title_align(1);
    html.set_title_align(0);
    html.set_cell_background("16777215");
    html.set_column_title_background("#92B6DA");
    html.set_page_color("16777215");
    html.set_title_color("#92B6DA");
    html.set_subtitle_color("0");
    html.set_cell_color("0");
    html.set_border_color("16777215");
    html.set_column_title_color("0");
    html.set_title_size("6");
    html.set_subtitle_size("2");
    html.set_column_title_size("2");
    html.set_cell_size("2");
    html.set_cell_font("Verdana");
    html.set_title_font("Verdana");
    html.set_subtitle_font("Verdana");
    html.set_border_size("0");
    html.set_title(title_);
    html.set_subtitle(" ::: Remisión - Radicado: " + delivery_);
    html.set_footer("Listado generado el dia " + short_date(program_.clock.today()));
    const std::string& folder = program_.config.database_folder;
    if (folder.empty() && output_path.empty()) return Result<std::string>::stopped();
    html.set_output_path(output_path.empty() ? folder + "reporte.html" : output_path);
    if (!html.write_page(list_).ok()) return Result<std::string>::failed();
    program_.ui.process_events();
    std::string written = html.output_path();
    if (opener) {
        html.set_opener(opener);
        html.open_page(written);
    }
    return Result<std::string>::done(written);
}

}  // namespace corvela
