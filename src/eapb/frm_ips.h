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

class FrmIps {
  public:
    FrmIps(Database& work, Ui& ui) : work_(work), ui_(ui) {}

    // Opening: the five row sets, the department and type lists, the first entity shown.
    void Form_Load();

    // The text boxes `Text1` .. `Text6`. The window writes the operator's edits here before
    // forwarding a click, and shows them again after it.
    std::string Text1, Text2, Text3, Text4, Text5, Text6;
    ComboState Cmbperi, CmbDepto, CmbMuni;

    // Selection handling of the three combo boxes (by the operator or by the display routine).
    void Cmbperi_Click(int index);
    void CmbDepto_Click(int index);
    void CmbMuni_Click(int index);

    // Navigation over `gerentes`.
    void primerreg_Click();
    void regreg_Click();
    void siguereg_Click();
    void ultreg_Click();

    // Record operations.
    void cmdBuscar_Click();
    void cmdAgregar_Click();
    void cmdEliminar_Click();
    void cmdRenovar_Click() {}
    void cmdActualizar_Click();
    void cmdCerrar_Click();
    // Closing the window in any way: the default mouse pointer comes back.
    void Form_Unload();
    // Whether `cmdCerrar` has closed the window.
    bool closed() const { return closed_; }

    // The codes held by the window.
    const std::string& entity_code() const { return entity_code_; }
    const std::string& type_code() const { return type_code_; }
    const std::string& department_code() const { return department_code_; }
    const std::string& municipality_code() const { return municipality_code_; }

  private:
    // Shows the current `gerentes` row with its entity, department and municipality.
    void MostrarRegistro();
    // Copies the boxes and the codes into the pending rows of `gerentes` and `tr_administradoras`,
    // the entity's name unless `keep_name`.
    void GuardarRegistro(bool keep_name);
    // Whether the typed name may go over the stored name of the entity's row `a`: not when it is
    // the name as stored or as shown, nor when it is empty; otherwise only when the operator,
    // asked with both names, says Yes.
    bool name_may_change(const Recordset& a);
    // Empties `Text1` .. `Text5`; `Text6` keeps its text.
    void LimpiarCampos();

    // Selects the first item equal to `name`, which runs the combo box's selection handling; a
    // name that is not among the items leaves the selection as it is.
    void select_item(ComboState& combo, const std::string& name, void (FrmIps::*handler)(int));
    // Finds in `rs` after moving to its last row; when nothing is found the row that was current
    // stays current, so the row shown is still the one an update or a deletion reaches.
    static bool search(Recordset& rs, std::string_view column, const std::string& value);
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
