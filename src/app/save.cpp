#include "app/save.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <system_error>

#include "app/months.h"
#include "db/file_types.h"
#include "db/schema.h"
#include "platform/failure.h"
#include "platform/fault_injection.h"
#include "platform/text.h"

namespace corvela {

namespace {

// Stamps the rows of a table still at 0 with the new number, so that the rows of earlier
// deliveries keep their numbers.
void stamp(Database& work, std::string_view code, double n) {
    const std::string table = code == kErrorTable ? "ERRORES" : file_type(code).table;
    const std::string column =
        code == kErrorTable ? "nro_radicacion" : radicacion_column(file_type(code));
    Statement st =
        work.prepare("UPDATE " + table + " SET " + column + " = ? WHERE " + column + " = 0");
    st.bind(1, n);
    st.exec();
}

// On a server with desks, the desk's error rows, numbered now, join those every desk shares.
void share_error_rows(Database& work) {
    const std::string shared = work.saved_errors_table();
    if (shared == "ERRORES") return;
    const std::string columns = error_columns();
    work.exec("INSERT INTO " + shared + " (" + columns + ") SELECT " + columns +
              " FROM ERRORES WHERE nro_radicacion <> 0 ORDER BY rowid");
    work.exec("DELETE FROM ERRORES WHERE nro_radicacion <> 0");
}

// The columns of a file type's tables, as a list.
std::string column_list(const FileType& t) {
    return fmt::format("{}", fmt::join(column_names(t), ", "));
}

// The date value of the remission date box: day/month/year as the control file writes it.
std::string remission_date_value(const std::string& text) {
    if (auto d = parse_date(trim(text))) return iso_date(*d);
    if (auto d = parse_iso_date(trim(text))) return iso_date(*d);
    throw NumberedFailure(
        13, "No coinciden los tipos: la fecha de remisión \"" + text + "\" no es una fecha");
}

// The rows of each working table, by file type code.
using RowCounts = std::map<std::string, int64_t, std::less<>>;
RowCounts working_rows(Database& work) {
    RowCounts rows;
    for (std::string_view code : kCountOrder)
        rows[std::string(code)] = work.count(std::string("select * from ") + file_type(code).table);
    return rows;
}

// Draws the next radicación number. The numbering row stays locked until the save ends: desks
// saving at once take their numbers one after the other, each waiting for the row at most the
// server's bound.
double next_number(Database& work, const std::string& today) {
    Statement counter = work.prepare_for_update("SELECT rowid, numero FROM consecutivo");
    if (!counter.step())
        throw counter.failure(Fault::NoSuchRow,
                              "la tabla consecutivo no tiene su fila de numeración");
    const int64_t counter_row = counter.integer(0);
    const double n = counter.real(1) + 1;
    counter.reset();
    Statement next = work.prepare("UPDATE consecutivo SET numero = ?, fecha = ? WHERE rowid = ?");
    next.bind(1, n);
    next.bind(2, today);
    next.bind(3, counter_row);
    next.exec();
    fault_point("save:numero");
    return n;
}

// One `registros` row per control record with a file code. The table has one row more than the
// folder had files; the rows of those files are saved.
void write_bookkeeping_rows(Database& work, const Delivery& delivery, const RowCounts& rows,
                            double n) {
    const DeliveryHeader& h = delivery.header;
    Statement reg = work.prepare(
        "INSERT INTO registros (archivo, remitidos, leidos, pasaron, eapb, Errados, "
        "remitente, periodo_reportado, nro_remision, fecha_remision, suben, "
        "IMPRESION, nro_radicacion) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?)");
    const std::string remitente = to_upper(h.sender);
    for (size_t i = 0; i + 1 < delivery.records.size(); ++i) {
        const ControlRecord& record = delivery.records[i];
        std::string type = to_upper(left_chars(record.code(), 2));
        if (ltrim(type).empty()) continue;
        auto counted = rows.find(type);
        const int64_t suben = counted == rows.end() ? 0 : counted->second;
        double read = record.read(), passed = record.passed();
        reg.bind(1, type);
        reg.bind_or_null(2, record.declared_count);
        reg.bind(3, read);
        reg.bind(4, passed);
        reg.bind_or_null(5, record.ips_code);
        reg.bind(6, read - passed);
        reg.bind(7, remitente);
        reg.bind(8, h.period);
        reg.bind(9, h.remission);
        reg.bind(10, h.remission_date);
        reg.bind(11, suben);
        reg.bind(12, n);
        reg.exec();
        reg.reset();
        fault_point("save:registros");
    }
}

// One `periodos` row per reported month; the months grid's rows are then emptied.
void write_periods(Database& work, const DeliveryHeader& h) {
    Statement period =
        work.prepare("INSERT INTO periodos (COD_EAPB, num_remision, mes, ano) VALUES (?, ?, ?, ?)");
    for (const auto& [mes, ano] : reported_months(work)) {
        period.bind(1, h.ips_code);
        period.bind(2, h.remission);
        period.bind(3, mes);
        period.bind(4, ano);
        period.exec();
        period.reset();
    }
    work.exec("delete from fechas");
    fault_point("save:periodos");
}

void write_radicacion(Database& work, const DeliveryHeader& h, double n, const std::string& today) {
    Statement delivery = work.prepare(
        "INSERT INTO radicacion (nro_radicacion, COD_IPS, nro_remision, "
        "fecha_validacion, fecha_remision) VALUES (?, ?, ?, ?, ?)");
    delivery.bind(1, n);
    delivery.bind(2, h.ips_code);
    delivery.bind(3, h.remission);
    delivery.bind(4, today);
    delivery.bind(5, remission_date_value(h.remission_date));
    delivery.exec();
    fault_point("save:radicacion");
}

// The working rows and the error rows get the number; the working tables go to the final ones.
void stamp_and_copy(Database& work, double n) {
    for (std::string_view code : kStampOrder) stamp(work, code, n);
    share_error_rows(work);
    fault_point("save:numerados");
    for (std::string_view code : kCopyOrder) {
        const FileType& t = file_type(code);
        const std::string columns = column_list(t);
        work.exec(std::string("INSERT INTO ") + t.final + " (" + columns + ") SELECT " + columns +
                  " FROM " + t.table);
        fault_point("save:copia");
    }
}

// Every row of the save, inside the caller's transaction; returns the new radicación number.
double store_delivery_rows(Program& program) {
    Database& work = *program.work;
    const Delivery& delivery = program.delivery;
    const std::string today = iso_date(program.clock.today());
    const RowCounts rows = working_rows(work);
    const double n = next_number(work, today);
    write_bookkeeping_rows(work, delivery, rows, n);
    write_periods(work, delivery.header);
    write_radicacion(work, delivery.header, n, today);
    stamp_and_copy(work, n);
    // The kept run state says "saved" in the same transaction, so that a save cut short after
    // its commit is never repeated over the same working tables.
    record_saved_state(work, n);
    fault_point("save:estado");
    return n;
}
}  // namespace

Status store_delivery(Program& program) {
    Ui& ui = program.ui;
    double n = 0;
    try {
        Transaction tx(*program.work);
        n = store_delivery_rows(program);
        tx.commit();
        fault_point("save:confirmado");
    } catch (const BusyFailure&) {
        // Another desk's save held the number row past the bound; nothing of this save stayed.
        ui.message(kBusyText, kBusyTitle, Icon::Exclamation);
        return Status::stopped();
    } catch (const std::exception& e) {
        // The transaction was rolled back: nothing of this save stayed.
        show_failure(ui, e, kAlLeerRegistros);
        return Status::failed();
    }
    program.delivery.radicacion = n;
    // The header and the grid change only once the delivery is stored, so that a failed save can
    // simply be repeated.
    ui.show_months(" MESES REPORTADOS", "Mes", "Año", {});
    program.delivery.header = DeliveryHeader{};
    program.delivery_changed();
    ui.message("El proceso finalizó con exito.", "Final de proceso.", Icon::Information);
    return Status::done();
}

Status save_delivery(Program& program) {
    Ui& ui = program.ui;
    OperationScope scope(program, Reach::Save);
    if (!scope.ok()) return Status::stopped();
    const DeliveryHeader& h = program.delivery.header;
    int blank = 0;
    for (const std::string* box : {&h.telephone, &h.fax, &h.address, &h.sender})
        if (ltrim(*box).empty()) ++blank;
    if (blank > 0) {
        ui.message(
            "Por favor revise que no exista campos en blanco como nombre del remitente, "
            "dirección, teléfono y fax.",
            "Faltan algunos Datos.", Icon::Critical);
        return Status::stopped();
    }
    if (program.run_state != RunState::NotSaved) {
        ui.message("Los datos existentes en las tablas temporales ya fueron cargados.",
                   "Datos ya cargados.", Icon::Critical);
        return Status::stopped();
    }
    Status outcome = store_delivery(program);
    if (outcome.ok()) program.run_state = RunState::Saved;
    return outcome;
}

}  // namespace corvela
