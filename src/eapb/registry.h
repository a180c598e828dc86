// The EAPB registry window's logic without the window: the paying entities of `gerentes`, one row
// at a time, with the entity's name and institution type from `tr_administradoras`, and the
// department and municipality lists. The window binds its controls to the state kept here and
// forwards its clicks; messages and input boxes go through the UI seam.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "eapb/recordset.h"
#include "platform/ui.h"

namespace corvela {

// A combo box: its items and the selected index (-1 when nothing is selected).
struct ComboState {
    std::vector<std::string> items;
    int index = -1;
    std::string selected() const {
        return index >= 0 ? items[static_cast<size_t>(index)] : std::string();
    }
};

class EapbRegistry {
  public:
    EapbRegistry(Database& work, Ui& ui) : work_(work), ui_(ui) {}

    // Opening: the five row sets, the department and type lists, the first entity shown.
    void open();

    // The texts of the entity shown, one per box of the window. The window writes the operator's
    // edits here before an operation and shows them again after it.
    struct Texts {
        std::string code, manager, address, fax, telephone, name;
    } texts;
    // The institution types, departments and municipalities offered, with the one selected.
    ComboState institution_types, departments, municipalities;

    // A selection in one of the three lists (by the operator or by the display of a row).
    void select_institution_type(int index);
    void select_department(int index);
    void select_municipality(int index);

    // Navigation over `gerentes`.
    void first();
    void previous();
    void next();
    void last();

    // Record operations.
    void search();
    void add();
    void remove();
    void renew() {}
    void update();
    void close();
    // The window closes in any way: the default mouse pointer comes back.
    void closing();
    // Whether `close` has run.
    bool closed() const { return closed_; }

    // The codes held by the window.
    const std::string& entity_code() const { return entity_code_; }
    const std::string& type_code() const { return type_code_; }
    const std::string& department_code() const { return department_code_; }
    const std::string& municipality_code() const { return municipality_code_; }

  private:
    // Shows the current `gerentes` row with its entity, department and municipality.
    void show_current();
    // Copies the boxes and the codes into the pending rows of `gerentes` and `tr_administradoras`,
    // the entity's name unless `keep_name`.
    void copy_into_rows(bool keep_name);
    // Whether the typed name may go over the stored name of the entity's row `a`: not when it is
    // the name as stored or as shown, nor when it is empty; otherwise only when the operator,
    // asked with both names, says Yes.
    bool name_may_change(const Recordset& a);
    // Empties the texts but the entity's name.
    void clear_texts();

    // Selects the first item equal to `name`, which runs the combo box's selection handling; a
    // name that is not among the items leaves the selection as it is.
    void select_item(ComboState& combo, const std::string& name,
                     void (EapbRegistry::*handler)(int));
    // Finds in `rs` after moving to its last row; when nothing is found the row that was current
    // stays current, so the row shown is still the one an update or a deletion reaches.
    static bool find_from_last(Recordset& rs, std::string_view column, const std::string& value);
    // Runs a handler, showing a database failure in a message box instead of letting it escape.
    template <class F>
    void guarded(F&& f);

    Database& work_;
    Ui& ui_;
    std::string entity_code_, type_code_, department_code_, municipality_code_;
    std::optional<Recordset> instituciones_, gerentes_, administradoras_, departamentos_,
        municipios_;
    bool closed_ = false;
};

}  // namespace corvela
