#include "app/cleanup.h"

#include <system_error>

#include "app/save.h"
#include "app/validation_run.h"
#include "db/file_types.h"
#include "platform/failure.h"
#include "platform/text.h"

namespace corvela {

namespace {
// A question whose Yes deletes stored data has No as its default button, so that Enter pressed
// by habit keeps the data.
bool confirm_deletion(Ui& ui, const std::string& text, const std::string& title) {
    return ui.ask_yes_no(text, title, Icon::None, true);
}
}  // namespace

Status empty_final_tables(Program& program) {
    Ui& ui = program.ui;
    if (!confirm_deletion(
            ui,
            std::string(
                "Uste esta a punto de borrar los registros correctos que estan almacenados.") +
                "\r\r" + "Desea borrarlos realmente?.",
            "Borrando registros."))
        return Status::stopped();
    if (!confirm_deletion(ui, "ESTA SEGURO DE BORRAR LOS DATOS.?", "Borrando registros."))
        return Status::stopped();
    OperationScope scope(program, Reach::SharedRows);
    if (!scope.ok()) return Status::stopped();
    try {
        Transaction tx(*program.work);
        for (std::string_view code : kCleanUpOrder)
            program.work->exec(std::string("DELETE FROM ") + file_type(code).final);
        program.work->exec("DELETE FROM fechas");
        program.work->exec("DELETE FROM periodos");
        tx.commit();
    } catch (const std::exception& e) {
        show_failure(ui, e, kAlLeerRegistros);
        return Status::failed();
    }
    ui.message("Finalizo Proceso", "Limpando Base de datos.", Icon::Information);
    return Status::done();
}

Status delete_delivery(Program& program, const std::string& ips_code, const std::string& delivery) {
    Ui& ui = program.ui;
    Database& work = *program.work;
    // The number keeps its leading blank; val() reads it as the number.
    size_t slash = delivery.find('/');
    const std::string n = slash == std::string::npos ? delivery : delivery.substr(slash + 1);
    const std::string condition = "WHERE  cod_IPS =? and num_radicacion=val(?)";
    const std::string number_only = "WHERE  num_radicacion=val(?)";
    try {
        if (work.count("select * from f_transacciones " + condition, ips_code, n) == 0) {
            ui.message("No existe registros almacenados con la radicación interna No. " + n,
                       "Proceso finalizado", Icon::Information);
            return Status::stopped();
        }
        if (!confirm_deletion(
                ui, "Desea borrar los datos almacenados de la radicación interna No. " + n,
                "Borrar datos almacenados."))
            return Status::stopped();
        OperationScope scope(program, Reach::SharedRows);
        if (!scope.ok()) return Status::stopped();
        Transaction tx(work);
        // A final table without an IPS column (the users') has its rows deleted by the number
        // alone.
        for (std::string_view code : kDeletionOrder) {
            const FileType& t = file_type(code);
            const bool by_ips = has_column(t, "COD_IPS");
            Statement del = work.prepare(std::string("Delete from ") + t.final + " " +
                                         (by_ips ? condition : number_only));
            if (by_ips) del.bind(1, ips_code);
            del.bind(by_ips ? 2 : 1, n);
            del.exec();
        }
        Statement mark = work.prepare(
            "update registros set impresion=1 WHERE  eapb =? and nro_radicacion=val(?)");
        mark.bind(1, ips_code);
        mark.bind(2, n);
        mark.exec();
        tx.commit();
    } catch (const std::exception& e) {
        show_failure(ui, e, kAlLeerRegistros);
        return Status::failed();
    }
    ui.message("Fueron borrados los registros almacenados con la radicación interna No. " + n,
               "Proceso finalizado", Icon::Information);
    return Status::done();
}

bool leave_program(Program& program) {
    if (!program.work) return true;
    if (program.run_state == RunState::NotSaved &&
        !confirm_deletion(program.ui,
                          "Hay una validación sin guardar. ¿Desea salir de todos modos?", ""))
        return false;
    {
        // While another program changes the working tables, leaving does not empty them.
        OperationScope scope(program);
        if (scope.ok()) {
            empty_working_tables(program);
            program.store_run_state();
        }
    }
    program.work.reset();
    return true;
}

void compact(Database& work) {
    // A server rewrites what it can and renews the statistics its plans use.
    if (work.on_server()) return work.exec("VACUUM (ANALYZE)");
    work.exec("VACUUM");
    // The rebuilt pages sit in the write-ahead log until a checkpoint moves them into the file.
    work.exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

Status backup(Program& program, const std::filesystem::path& folder) {
    if (program.work->on_server())
        return Status::failed("Una instalación en servidor se respalda con pg_dump.");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return Status::failed("No se pudo crear la carpeta " + folder.string() + ": " +
                              system_failure_text(ec.value()));
    const std::pair<Database*, const char*> copies[] = {
        {program.work.get(), "registros_ips.db"},
        {program.ref.get(), "Ref_rips.db"},
    };
    for (const auto& [db, name] : copies)
        if (std::filesystem::exists(folder / name))
            return Status::failed("Ya existe " + (folder / name).string() +
                                  "; no se copió ninguna base de datos.");
    for (const auto& [db, name] : copies) {
        Statement st = db->prepare("VACUUM INTO ?");
        st.bind(1, (folder / name).string());
        st.exec();
    }
    return Status::done();
}

}  // namespace corvela
