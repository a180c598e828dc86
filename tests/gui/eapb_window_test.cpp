// The EAPB records window opened from the main window: the first entity, the ends of the
// navigation, a search, adding and updating an entity.
#include <QTest>

#include "desk.h"

namespace corvela::testing {
namespace {

class EapbWindowTest : public Desk {
  protected:
    void SetUp() override {
        open();
        Database& work = *window->program().work;
        work.exec(
            "INSERT INTO gerentes VALUES "
            "('EPS001', 'Ana Ruiz', 'Cra 1 # 2-3', '6015550001', '6015550000', '76', '001'),"
            "('EPS002', 'Luis Mora', 'Cl 40 # 5-6', '6045550001', '6045550000', '05', '001')");
        click("CmdEAPB");
        frm = opened("frmIPS");
        ASSERT_NE(frm, nullptr);
    }
    std::string texts() {
        std::string t = text("Text1", frm).toStdString();
        for (const char* box : {"Text2", "Text3", "Text4", "Text5", "Text6"})
            t += "|" + text(box, frm).toStdString();
        return t;
    }
    std::string code() { return text("Text1", frm).toStdString(); }
    std::string places() {
        return control<QComboBox>("CmbDepto", frm)->currentText().toStdString() + "/" +
               control<QComboBox>("CmbMuni", frm)->currentText().toStdString();
    }
    QWidget* frm = nullptr;
};

TEST_F(EapbWindowTest, ShowsTheFirstEntityNavigationStopsAtBothEndsAndSearchFinds) {
    EXPECT_EQ(frm->windowTitle(), QString::fromUtf8("Datos EAPB"));
    EXPECT_EQ(texts(), "EPS001|Ana Ruiz|Cra 1 # 2-3|6015550001|6015550000|ALIANSALUD EPS");
    EXPECT_EQ(places(), "VALLE DEL CAUCA/SANTIAGO DE CALI");
    EXPECT_EQ(control<QComboBox>("Cmbperi", frm)->currentText().toStdString(), "EPS Contributivo");

    click("regreg", frm);
    EXPECT_EQ(last_title() + "|" + last_message(),
              "Primer Registro.|¡Se alcanzó el principio del Archivo!");
    EXPECT_EQ(ui.messages.back().icon, Icon::Information);
    EXPECT_EQ(code(), "EPS001");
    click("siguereg", frm);
    EXPECT_EQ(code(), "EPS002");
    EXPECT_EQ(places(), "ANTIOQUIA/MEDELLÍN");
    click("siguereg", frm);
    EXPECT_EQ(last_title() + "|" + last_message(),
              "Ultimo Registro.|¡Se alcanzó el final del Archivo!");
    EXPECT_EQ(ui.messages.back().icon, Icon::Information);
    EXPECT_EQ(code(), "EPS002");
    click("primerreg", frm);
    EXPECT_EQ(code(), "EPS001");
    click("ultreg", frm);
    EXPECT_EQ(code(), "EPS002");
    EXPECT_EQ(ui.messages.size(), 2u);  // moves inside the registry say nothing

    // "Buscar" asks for the field and the text (both checked on the window's logic) and shows the
    // entity found.
    ui.inputs = {"2", "aliansalud eps"};
    click("cmdBuscar", frm);
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(code(), "EPS001");
}

TEST_F(EapbWindowTest, AddingAndUpdatingAnEntityStoresTheBoxesAndTheLists) {
    Database& work = *window->program().work;
    auto type = [&](const char* box, const char* value) {
        control<QLineEdit>(box, frm)->setText(QString::fromUtf8(value));
    };
    // An update stores what the operator typed and chose.
    type("Text2", "Ana Ruiz Pérez");
    control<QComboBox>("CmbDepto", frm)->setCurrentText(QStringLiteral("ANTIOQUIA"));
    control<QComboBox>("CmbMuni", frm)->setCurrentText(QString::fromUtf8("MEDELLÍN"));
    click("cmdActualizar", frm);
    EXPECT_EQ(work.count("SELECT * FROM gerentes WHERE administradora = 'EPS001' AND "
                         "responsable = 'Ana Ruiz Pérez' AND coddepto = '05' AND codmuni = '001'"),
              1);

    click("cmdAgregar", frm);
    EXPECT_EQ(texts(), "|||||ALIANSALUD EPS");
    const char* const typed[] = {"EPS005", "Eva Díaz", "Av 3", "333", "444"};  // Text1 to Text5
    for (int i = 0; i < 5; ++i) type(("Text" + std::to_string(i + 1)).c_str(), typed[i]);
    // The name box still holds the entity shown before: EPS005's stored name stays unless the
    // operator, seeing both, says Yes (No by default; here No).
    click("cmdActualizar", frm);
    EXPECT_EQ(ui.questions, std::vector<std::string>{"Corvela|¿Cambiar el nombre de la EAPB "
                                                     "EPS005 de «EPS Sanitas» a «ALIANSALUD "
                                                     "EPS»?"});
    EXPECT_EQ(ui.no_defaults, std::vector<bool>{true});
    EXPECT_EQ(work.count("SELECT * FROM gerentes"), 3);
    EXPECT_EQ(work.count("SELECT * FROM gerentes WHERE administradora = 'EPS005' AND "
                         "responsable = 'Eva Díaz' AND TELEFONO = '444'"),
              1);
    EXPECT_EQ(text("Text6", frm).toStdString(), "EPS SANITAS");
    // An empty name never replaces it, and asks nothing.
    type("Text6", "");
    click("cmdActualizar", frm);
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(work.count("SELECT * FROM tr_administradoras WHERE codigo = 'EPS005' AND "
                         "nombre = 'EPS Sanitas'"),
              1);
    click("ultreg", frm);
    EXPECT_EQ(code(), "EPS005");

    click("cmdCerrar", frm);
    EXPECT_EQ(opened("frmIPS"), nullptr);
}

// Tab goes through the boxes in their screen order, then the buttons; Enter presses the focused
// button, Alt and an underlined letter press theirs, Esc closes as "Cerrar" does.
TEST_F(EapbWindowTest, TabFollowsTheBoxesAndKeysPressTheButtons) {
    const std::vector<std::string> chain = {
        "Text1",       "Text6",      "Text2",         "Text3",     "Text4",
        "Text5",       "Cmbperi",    "CmbDepto",      "CmbMuni",   "primerreg",
        "regreg",      "siguereg",   "ultreg",        "cmdBuscar", "cmdAgregar",
        "cmdEliminar", "cmdRenovar", "cmdActualizar", "cmdCerrar", "Text1"};
    EXPECT_EQ(tabbing_from(control<QWidget>("Text1", frm), chain.size()), chain);

    control<QWidget>("siguereg", frm)->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(code(), "EPS002");
    // An access key presses its button as a click does, the button shown down for a moment.
    press(Qt::Key_A, Qt::AltModifier);  // "&Agregar"
    EXPECT_TRUE(QTest::qWaitFor([&] { return code().empty(); }, 1000));
    press(Qt::Key_Escape);
    EXPECT_EQ(opened("frmIPS"), nullptr);
}

}  // namespace
}  // namespace corvela::testing
