#include "eapb/registry.h"

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
void EapbRegistry::guarded(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        show_failure(ui_, e, " al leer archivo de EAPB");
    }
}

void EapbRegistry::open() {
    guarded([&] {
        closed_ = false;
        instituciones_.emplace(work_, "TR_instituciones", " order by nombre, rowid");
        gerentes_.emplace(work_, "gerentes");
        administradoras_.emplace(work_, "tr_administradoras");
        departamentos_.emplace(work_, "departamentos", " order by nombre, rowid");
        municipios_.emplace(work_, "municipios", " order by nombre, rowid");

        departments = {names_of(*departamentos_), -1};
        institution_types = {names_of(*instituciones_), -1};
        if (!institution_types.items.empty()) select_institution_type(0);

        if (!gerentes_->empty()) {
            gerentes_->move_first();
            show_current();
        } else {
            clear_texts();
        }
    });
}

void EapbRegistry::select_item(ComboState& combo, const std::string& name,
                               void (EapbRegistry::*handler)(int)) {
    for (size_t i = 0; i < combo.items.size(); ++i)
        if (combo.items[i] == name) {
            (this->*handler)(static_cast<int>(i));
            return;
        }
}

void EapbRegistry::show_current() {
    // With no row to show (an empty registry) the boxes are emptied.
    if (!gerentes_ || !gerentes_->has_current()) {
        clear_texts();
        return;
    }
    Recordset& g = *gerentes_;
    entity_code_ = g.text("administradora");
    department_code_ = g.value("coddepto").value_or("00");
    municipality_code_ = g.value("codmuni").value_or("000");

    departamentos_->move_first();
    if (departamentos_->find_first("coddepto", department_code_))
        select_item(departments, departamentos_->text("nombre"), &EapbRegistry::select_department);

    municipios_->move_first();
    if (municipios_->find_first("codmuni", municipality_code_))
        select_item(municipalities, municipios_->text("nombre"),
                    &EapbRegistry::select_municipality);

    // An entity without its `tr_administradoras` row keeps the type shown and has no name.
    Recordset::Value entity_name;
    administradoras_->move_first();
    if (administradoras_->find_first("codigo", entity_code_)) {
        std::string tipo = administradoras_->text("tipo");
        instituciones_->move_first();
        if (instituciones_->find_first("tipo", tipo))
            select_item(institution_types, instituciones_->text("nombre"),
                        &EapbRegistry::select_institution_type);
        entity_name = administradoras_->value("nombre");
    }

    texts.code = entity_code_;
    texts.manager = g.text("responsable");
    texts.address = g.text("DIRECCION");
    texts.fax = g.text("fax");
    texts.telephone = g.text("TELEFONO");
    texts.name = shown_name(entity_name);
}

void EapbRegistry::clear_texts() {
    texts.code = texts.manager = texts.address = texts.fax = texts.telephone = "";
}

void EapbRegistry::copy_into_rows(bool keep_name) {
    Recordset& g = *gerentes_;
    g.set("administradora", texts.code);
    g.set("responsable", texts.manager);
    g.set("DIRECCION", texts.address);
    g.set("fax", texts.fax);
    g.set("coddepto", department_code_);
    g.set("codmuni", municipality_code_);
    g.set("TELEFONO", texts.telephone);
    if (!keep_name) administradoras_->set("nombre", texts.name);
    administradoras_->set("tipo", type_code_);
}

bool EapbRegistry::name_may_change(const Recordset& a) {
    const Recordset::Value stored = a.value("nombre");
    if (trim(texts.name).empty() || texts.name == stored.value_or("") ||
        texts.name == shown_name(stored))
        return false;
    return ui_.ask_yes_no("¿Cambiar el nombre de la EAPB " + a.text("codigo") + " de «" +
                              stored.value_or("") + "» a «" + texts.name + "»?",
                          kDefaultTitle, Icon::Exclamation, true);
}

void EapbRegistry::select_department(int index) {
    if (!departamentos_ || index < 0 || index >= static_cast<int>(departments.items.size())) return;
    guarded([&] {
        departments.index = index;
        if (departamentos_->find_first("nombre", departments.selected()))
            department_code_ = departamentos_->text("coddepto");
        municipios_.emplace(work_, "municipios", " WHERE CODDEPTO = ? order by nombre, rowid",
                            std::vector<std::string>{department_code_});
        municipalities = {names_of(*municipios_), -1};
        if (municipios_->find_first("codmuni", municipality_code_))
            select_item(municipalities, municipios_->text("nombre"),
                        &EapbRegistry::select_municipality);
    });
}

void EapbRegistry::select_municipality(int index) {
    if (!municipios_ || index < 0 || index >= static_cast<int>(municipalities.items.size())) return;
    municipalities.index = index;
    municipios_->move_first();
    if (municipios_->find_first("nombre", municipalities.selected()))
        municipality_code_ = municipios_->text("codmuni");
}

void EapbRegistry::select_institution_type(int index) {
    if (!instituciones_ || index < 0 || index >= static_cast<int>(institution_types.items.size()))
        return;
    institution_types.index = index;
    instituciones_->move_first();
    if (instituciones_->find_first("nombre", institution_types.selected()))
        type_code_ = instituciones_->text("tipo");
}

// Navigation on an empty registry has no row to reach and shows no message.
void EapbRegistry::first() {
    if (!gerentes_) return;
    guarded([&] {
        gerentes_->move_first();
        show_current();
    });
}

void EapbRegistry::last() {
    if (!gerentes_) return;
    guarded([&] {
        gerentes_->move_last();
        show_current();
    });
}

void EapbRegistry::previous() {
    if (!gerentes_) return;
    guarded([&] {
        gerentes_->move_previous();
        if (gerentes_->bof() && !gerentes_->empty()) {
            ui_.message("¡Se alcanzó el principio del Archivo!", "Primer Registro.",
                        Icon::Information);
            gerentes_->move_first();
        }
        show_current();
    });
}

void EapbRegistry::next() {
    if (!gerentes_) return;
    guarded([&] {
        gerentes_->move_next();
        if (gerentes_->eof() && !gerentes_->empty()) {
            ui_.message("¡Se alcanzó el final del Archivo!", "Ultimo Registro.", Icon::Information);
            gerentes_->move_last();
        }
        show_current();
    });
}

bool EapbRegistry::find_from_last(Recordset& rs, std::string_view column,
                                  const std::string& value) {
    long shown = rs.position();
    rs.move_last();
    if (rs.find_first(column, value)) return true;
    rs.set_position(shown);
    return false;
}

void EapbRegistry::search() {
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
            if (find_from_last(*gerentes_, "administradora", s))
                show_current();
            else
                ui_.message(kNoMatch + ("Codigo de la EAPB = " + s + "."), "Fracaso la Busqueda.",
                            Icon::None);
        } else if (choice == 2) {
            std::string s = to_upper(trim(
                ui_.input("Escriba nombre de la EAPB para crear el filtro:", kDefaultTitle, "")));
            if (s.empty()) return;
            if (!find_from_last(*administradoras_, "nombre", s)) {
                ui_.message(kNoMatch + ("Nombre de agencia = " + s + "."), "Fracaso la Busqueda.",
                            Icon::None);
                return;
            }
            std::string c = administradoras_->text("codigo");
            gerentes_->find_first("administradora", c);
            show_current();
        }
    });
}

void EapbRegistry::add() {
    if (!gerentes_) return;
    gerentes_->add_new();
    clear_texts();
}

void EapbRegistry::update() {
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
        if (a.find_first("codigo", adding ? texts.code : entity_code_)) {
            keep_name = !name_may_change(a);
            a.edit();
        } else {
            a.add_new();
            a.set("codigo", texts.code);
        }
        copy_into_rows(keep_name);
        g.update();
        a.update();
        // The stored row is the one shown now: a further "Actualizar" reaches its entity, and the
        // box shows the name that stays.
        entity_code_ = g.text("administradora");
        if (keep_name) texts.name = shown_name(a.value("nombre"));
    });
}

void EapbRegistry::remove() {
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
        show_current();
    });
}

void EapbRegistry::close() {
    instituciones_.reset();
    gerentes_.reset();
    administradoras_.reset();
    departamentos_.reset();
    municipios_.reset();
    closed_ = true;
    closing();
}

void EapbRegistry::closing() {
    ui_.set_busy(false);
}

}  // namespace corvela
