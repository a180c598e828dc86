#include "eapb/frm_ips.h"

#include <exception>

#include "platform/failure.h"
#include "platform/text.h"

namespace corvela {

namespace {

const char* const kOptionPrompt =
    "Por cual campo desea realizar la busqueda: \r\r         1 - Codigo EAPB.\r         2 - Nombre "
    "de EAPB. \r";
const char* const kNoMatch = "No se encontraron registros con ";

std::vector<std::string> names_of(Recordset& rs) {
    std::vector<std::string> names;
    for (rs.move_first(); !rs.eof(); rs.move_next()) names.push_back(rs.text("nombre"));
    rs.move_first();
    return names;
}

// An entity's name as the name box shows it: in capitals, "NO DEFINIDO" when there is none.
std::string shown_name(const Recordset::Value& name) {
    return name ? to_upper(*name) : "NO DEFINIDO";
}

// The choice of the option question: the value of the answer's first character as a digit.
int option_of(const std::string& answer) {
    return (!answer.empty() && answer[0] >= '0' && answer[0] <= '9') ? answer[0] - '0' : 0;
}

}  // namespace

template <class F>
void FrmIps::guarded(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        show_failure(ui_, e, " al leer archivo de EAPB");
    }
}

void FrmIps::Form_Load() {
    guarded([&] {
        closed_ = false;
        instituciones_.emplace(work_, "TR_instituciones", " order by nombre, rowid");
        gerentes_.emplace(work_, "gerentes");
        administradoras_.emplace(work_, "tr_administradoras");
        departamentos_.emplace(work_, "departamentos", " order by nombre, rowid");
        municipios_.emplace(work_, "municipios", " order by nombre, rowid");

        CmbDepto = {names_of(*departamentos_), -1};
        Cmbperi = {names_of(*instituciones_), -1};
        if (!Cmbperi.items.empty()) Cmbperi_Click(0);

        if (!gerentes_->empty()) {
            gerentes_->move_first();
            MostrarRegistro();
        } else {
            LimpiarCampos();
        }
    });
}

void FrmIps::select_item(ComboState& combo, const std::string& name, void (FrmIps::*handler)(int)) {
    for (size_t i = 0; i < combo.items.size(); ++i)
        if (combo.items[i] == name) {
            (this->*handler)(static_cast<int>(i));
            return;
        }
}

void FrmIps::MostrarRegistro() {
    // With no row to show (an empty registry) the boxes are emptied.
    if (!gerentes_ || !gerentes_->has_current()) {
        LimpiarCampos();
        return;
    }
    Recordset& g = *gerentes_;
    entity_code_ = g.text("administradora");
    department_code_ = g.value("coddepto").value_or("00");
    municipality_code_ = g.value("codmuni").value_or("000");

    departamentos_->move_first();
    if (departamentos_->find_first("coddepto", department_code_))
        select_item(CmbDepto, departamentos_->text("nombre"), &FrmIps::CmbDepto_Click);

    municipios_->move_first();
    if (municipios_->find_first("codmuni", municipality_code_))
        select_item(CmbMuni, municipios_->text("nombre"), &FrmIps::CmbMuni_Click);

    // An entity without its `tr_administradoras` row keeps the type shown and has no name.
    Recordset::Value entity_name;
    administradoras_->move_first();
    if (administradoras_->find_first("codigo", entity_code_)) {
        std::string tipo = administradoras_->text("tipo");
        instituciones_->move_first();
        if (instituciones_->find_first("tipo", tipo))
            select_item(Cmbperi, instituciones_->text("nombre"), &FrmIps::Cmbperi_Click);
        entity_name = administradoras_->value("nombre");
    }

    Text1 = entity_code_;
    Text2 = g.text("responsable");
    Text3 = g.text("DIRECCION");
    Text4 = g.text("fax");
    Text5 = g.text("TELEFONO");
    Text6 = shown_name(entity_name);
}

void FrmIps::LimpiarCampos() {
    Text1 = Text2 = Text3 = Text4 = Text5 = "";
}

void FrmIps::GuardarRegistro(bool keep_name) {
    Recordset& g = *gerentes_;
    g.set("administradora", Text1);
    g.set("responsable", Text2);
    g.set("DIRECCION", Text3);
    g.set("fax", Text4);
    g.set("coddepto", department_code_);
    g.set("codmuni", municipality_code_);
    g.set("TELEFONO", Text5);
    if (!keep_name) administradoras_->set("nombre", Text6);
    administradoras_->set("tipo", type_code_);
}

bool FrmIps::name_may_change(const Recordset& a) {
    const Recordset::Value stored = a.value("nombre");
    if (trim(Text6).empty() || Text6 == stored.value_or("") || Text6 == shown_name(stored))
        return false;
    return ui_.ask_yes_no("¿Cambiar el nombre de la EAPB " + a.text("codigo") + " de «" +
                              stored.value_or("") + "» a «" + Text6 + "»?",
                          kDefaultTitle, Icon::Exclamation, true);
}

void FrmIps::CmbDepto_Click(int index) {
    if (!departamentos_ || index < 0 || index >= static_cast<int>(CmbDepto.items.size())) return;
    guarded([&] {
        CmbDepto.index = index;
        if (departamentos_->find_first("nombre", CmbDepto.selected()))
            department_code_ = departamentos_->text("coddepto");
        municipios_.emplace(work_, "municipios", " WHERE CODDEPTO = ? order by nombre, rowid",
                            std::vector<std::string>{department_code_});
        CmbMuni = {names_of(*municipios_), -1};
        if (municipios_->find_first("codmuni", municipality_code_))
            select_item(CmbMuni, municipios_->text("nombre"), &FrmIps::CmbMuni_Click);
    });
}

void FrmIps::CmbMuni_Click(int index) {
    if (!municipios_ || index < 0 || index >= static_cast<int>(CmbMuni.items.size())) return;
    CmbMuni.index = index;
    municipios_->move_first();
    if (municipios_->find_first("nombre", CmbMuni.selected()))
        municipality_code_ = municipios_->text("codmuni");
}

void FrmIps::Cmbperi_Click(int index) {
    if (!instituciones_ || index < 0 || index >= static_cast<int>(Cmbperi.items.size())) return;
    Cmbperi.index = index;
    instituciones_->move_first();
    if (instituciones_->find_first("nombre", Cmbperi.selected()))
        type_code_ = instituciones_->text("tipo");
}

// Navigation on an empty registry has no row to reach and shows no message.
void FrmIps::primerreg_Click() {
    if (!gerentes_) return;
    guarded([&] {
        gerentes_->move_first();
        MostrarRegistro();
    });
}

void FrmIps::ultreg_Click() {
    if (!gerentes_) return;
    guarded([&] {
        gerentes_->move_last();
        MostrarRegistro();
    });
}

void FrmIps::regreg_Click() {
    if (!gerentes_) return;
    guarded([&] {
        gerentes_->move_previous();
        if (gerentes_->bof() && !gerentes_->empty()) {
            ui_.message("¡Se alcanzó el principio del Archivo!", "Primer Registro.",
                        Icon::Information);
            gerentes_->move_first();
        }
        MostrarRegistro();
    });
}

void FrmIps::siguereg_Click() {
    if (!gerentes_) return;
    guarded([&] {
        gerentes_->move_next();
        if (gerentes_->eof() && !gerentes_->empty()) {
            ui_.message("¡Se alcanzó el final del Archivo!", "Ultimo Registro.", Icon::Information);
            gerentes_->move_last();
        }
        MostrarRegistro();
    });
}

bool FrmIps::search(Recordset& rs, std::string_view column, const std::string& value) {
    long shown = rs.position();
    rs.move_last();
    if (rs.find_first(column, value)) return true;
    rs.set_position(shown);
    return false;
}

void FrmIps::cmdBuscar_Click() {
    if (!gerentes_) return;
    guarded([&] {
        int choice;
        for (;;) {
            choice = option_of(ui_.input(kOptionPrompt, "Opciones de Busqueda.", ""));
            if (choice <= 3) break;
            ui_.message("La opción seleccionada no es correcta", "Error de Opción", Icon::Critical);
        }
        if (choice == 1) {
            std::string s(trim(ui_.input(
                "Escriba El Codigo de la EAPB para crear el filtro:", "Cadena de Busqueda.", "")));
            if (s.empty()) return;
            if (search(*gerentes_, "administradora", s))
                MostrarRegistro();
            else
                ui_.message(kNoMatch + ("Codigo de la EAPB = " + s + "."), "Fracaso la Busqueda.",
                            Icon::None);
        } else if (choice == 2) {
            std::string s = to_upper(trim(
                ui_.input("Escriba nombre de la EAPB para crear el filtro:", kDefaultTitle, "")));
            if (s.empty()) return;
            if (!search(*administradoras_, "nombre", s)) {
                ui_.message(kNoMatch + ("Nombre de agencia = " + s + "."), "Fracaso la Busqueda.",
                            Icon::None);
                return;
            }
            std::string c = administradoras_->text("codigo");
            gerentes_->find_first("administradora", c);
            MostrarRegistro();
        }
    });
}

void FrmIps::cmdAgregar_Click() {
    if (!gerentes_) return;
    gerentes_->add_new();
    LimpiarCampos();
}

void FrmIps::cmdActualizar_Click() {
    if (!gerentes_) return;
    guarded([&] {
        Recordset& g = *gerentes_;
        Recordset& a = *administradoras_;
        const bool adding = g.adding();
        if (!adding) {
            // Nothing is shown, so nothing is changed.
            if (!g.has_current()) return;
            g.edit();
        }
        // The entity's row: the one of the code shown when changing a row, the one of the code
        // typed for a new row; a code without a row gets a new row. A stored name changes only
        // when the operator confirms it.
        bool keep_name = false;
        if (a.find_first("codigo", adding ? Text1 : entity_code_)) {
            keep_name = !name_may_change(a);
            a.edit();
        } else {
            a.add_new();
            a.set("codigo", Text1);
        }
        GuardarRegistro(keep_name);
        g.update();
        a.update();
        // The stored row is the one shown now: a further "Actualizar" reaches its entity, and the
        // box shows the name that stays.
        entity_code_ = g.text("administradora");
        if (keep_name) Text6 = shown_name(a.value("nombre"));
    });
}

void FrmIps::cmdEliminar_Click() {
    if (!gerentes_) return;
    guarded([&] {
        if (ui_.ask_yes_no("¿Desea borrar realmente el registro?", "Borrar Registro",
                           Icon::Critical, true)) {
            ui_.message("El registro ha sido Borrado de la base de datos", "Se Borro Registro.",
                        Icon::Information);
            // A new row not yet stored is only dropped; no stored row is deleted for it.
            if (gerentes_->adding())
                gerentes_->cancel_update();
            else
                gerentes_->remove();
        } else {
            ui_.message("El registro no ha sido Borrado de la base de datos",
                        "Cancelada Acción de Borrar.", Icon::Information);
        }
        MostrarRegistro();
    });
}

void FrmIps::cmdCerrar_Click() {
    instituciones_.reset();
    gerentes_.reset();
    administradoras_.reset();
    departamentos_.reset();
    municipios_.reset();
    closed_ = true;
    Form_Unload();
}

void FrmIps::Form_Unload() {
    ui_.set_busy(false);
}

}  // namespace corvela
