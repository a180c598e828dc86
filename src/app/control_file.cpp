#include "app/control_file.h"

#include "app/hints.h"
#include "platform/encoding.h"
#include "platform/line_reader.h"
#include "platform/record_split.h"
#include "platform/text.h"
#include "rules/field_definitions.h"

namespace corvela {

std::vector<std::string> split_control_record(std::string_view rest) {
    std::vector<std::string> fields;
    split_record(rest, [&fields](int n, std::string_view value) {
        if (n <= 5) fields.emplace_back(value);
    });
    return fields;
}

namespace {
void no_control_file(Ui& ui, const std::string& hint = "") {
    ui.message_with_hint("No existe archivos de Control, por favor verificar.",
                         "No existe Archivo.", Icon::Critical, hint);
}

// Looks for the control file in list order; when none is found the full path stays as it was.
void locate_control_file(Program& program, const FileList& files) {
    // A folder without text files has no control file either.
    if (files.names.empty()) return no_control_file(program.ui);
    for (size_t i = 0; i < files.names.size(); ++i) {
        const std::string& name = files.names[i];
        program.data_file_name = name;
        if (char_length(name) <= 6) {
            program.ui.message(
                std::string("Error en formato de Archivo, no cumple con la Resolución 3374. ") +
                    "\r\r" + "Por favor revise los nombres asignados a los archivos.",
                "Formato de Archivo.", Icon::Critical);
            return;
        }
        if (to_upper(left_chars(name, 2)) == "CT") {
            program.full_path = (files.folder / name).string();
            program.ui.set_status("Archivo Seleccionado " + std::string(trim(program.full_path)));
            return;
        }
        if (i + 1 == files.names.size()) no_control_file(program.ui);
    }
}

// Whether `path` names a file of `folder`.
bool in_folder(const std::string& path, const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::equivalent(std::filesystem::path(path).parent_path(), folder, ec);
}

// A control file with more records than the control-file table has rows stops the run.
Result<bool> control_table_overflow(Ui& ui) {
    ui.message(std::string("Existen más de diez (10) archivos de los requeridos por la "
                           "Resolución 3374/2000.") +
                   "\r\r" + "Por favor revise el archivo de control y los archivos a validar",
               "Error", Icon::Critical);
    return Result<bool>::stopped();
}

// Reads the records into the table; its value tells whether a line was too long. Stopped when
// the records outnumber the table's rows.
Result<bool> read_records(Program& program) {
    LineReader reader(program.full_path);
    std::string line;
    size_t row = 0;
    bool structure_error = false;
    while (reader.next(line)) {
        int limit = defined_line_length(*program.ref, program.data_file_name);
        if (char_length(trim(line)) > static_cast<size_t>(limit)) {
            program.ui.message("Error de estructura del archivo de Control", "Error de estructura",
                               Icon::Critical);
            structure_error = true;
            continue;
        }
        auto fields = split_control_record(line);
        // A record past the last row of the table cannot be stored; an empty line stores nothing.
        std::vector<ControlRecord>& records = program.delivery.records;
        if (!fields.empty() && row >= records.size()) return control_table_overflow(program.ui);
        if (!fields.empty()) records[row] = ControlRecord::from_fields(fields);
        ++row;
    }
    return Result<bool>::done(structure_error);
}

// The header from the habilitated site and the first control record.
void fill_header(DeliveryHeader& h, const Statement& site, const ControlRecord& first) {
    // The columns as the query names them: nombre, gerente, DIRECCION, fax, TELEFONO.
    std::string manager = site.text(1);
    std::string address = site.text(2);
    std::string telephone = site.text(4);
    h.ips_name = site.text(0);
    h.sender = manager.empty() ? "" : to_upper(manager);
    h.address = address.empty() ? "" : to_upper(address);
    h.fax = site.text(3);
    h.telephone = telephone.empty() ? " " : telephone;
    h.period = first.remission_date.value_or("");
    h.remission = mid_chars(first.code(), 3);
    h.remission_date = first.remission_date.value_or("");
}
}  // namespace

Status read_control_file(Program& program, const FileList& files) {
    Ui& ui = program.ui;
    Delivery& delivery = program.delivery;
    delivery.records.assign(files.names.size() + 1, {});
    locate_control_file(program, files);
    // The file last selected or processed stands in for a missing control file only when it is
    // in the chosen folder: nothing of another folder is read.
    if (!in_folder(program.full_path, files.folder)) program.full_path.clear();
    if (program.full_path.empty()) {
        ui.message("Debe Seleccionar primero una Unidad para buscar los archivos.", "Atención",
                   Icon::Information);
        return Status::stopped();
    }
    // A control file in UTF-16 is refused before it is read, as a missing one stops the run.
    if (is_utf16_file(program.full_path)) {
        no_control_file(ui, utf16_note(program.full_path));
        return Status::stopped();
    }
    const Result<bool> read = read_records(program);
    if (!read.ok()) return Status::stopped();
    const bool structure_error = read.value();

    DeliveryHeader& h = delivery.header;
    h.ips_code = delivery.records[0].ips_code.value_or("");
    program.delivery_changed();
    Statement site = program.work->prepare(
        "SELECT nombre, gerente, DIRECCION, fax, TELEFONO FROM sedes WHERE habilitacion = ?");
    site.bind(1, h.ips_code);
    if (char_length(h.ips_code) != 12 || !site.step()) {
        ui.message_with_hint(
            "No existe la IPS en la tabla de habilitadas.", "No habilitada", Icon::Information,
            unregistered_site_hint(std::filesystem::path(program.full_path).filename().string(),
                                   h.ips_code));
        return Status::stopped();
    }
    if (structure_error) return Status::stopped();
    delivery.radicacion = 0;
    fill_header(h, site, delivery.records[0]);
    program.delivery_changed();
    return Status::done();
}

}  // namespace corvela
