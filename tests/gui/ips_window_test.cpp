// The EAPB records window opened from the main window: the first entity, the ends of the
// navigation, the searches by code and by name, adding and updating an entity.
#include "desk.h"

namespace corvela::testing {
namespace {

const char* const kOptions =
    "Opciones de Busqueda.|Por cual campo desea realizar la busqueda: \r\r         1 - Codigo "
    "EAPB.\r         2 - Nombre de EAPB. \r";

class IpsWindowTest : public Desk {
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
    std::string places() {
        return control<QComboBox>("CmbDepto", frm)->currentText().toStdString() + "/" +
               control<QComboBox>("CmbMuni", frm)->currentText().toStdString();
    }
    QWidget* frm = nullptr;
};

TEST_F(IpsWindowTest, NavigationStopsAtBothEndsWithItsMessages) {
    EXPECT_EQ(frm->windowTitle(), QString::fromUtf8("Datos EAPB"));
    EXPECT_EQ(texts(), "EPS001|Ana Ruiz|Cra 1 # 2-3|6015550001|6015550000|ALIANSALUD EPS");
    EXPECT_EQ(places(), "Valle del Cauca/Cali");
    EXPECT_EQ(control<QComboBox>("Cmbperi", frm)->currentText().toStdString(), "EPS Contributivo");

    click("regreg", frm);
    EXPECT_EQ(last_title(), "Primer Registro.");
    EXPECT_EQ(last_message(), "¡Se alcanzó el principio del Archivo!");
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS001");

    click("siguereg", frm);
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS002");
    EXPECT_EQ(places(), "Antioquia/Medellín");
    click("siguereg", frm);
    EXPECT_EQ(last_title(), "Ultimo Registro.");
    EXPECT_EQ(last_message(), "¡Se alcanzó el final del Archivo!");
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS002");

    click("primerreg", frm);
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS001");
    click("ultreg", frm);
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS002");
}

TEST_F(IpsWindowTest, SearchesByCodeAndByName) {
    ui.inputs = {"1", "  EPS002 "};
    click("cmdBuscar", frm);
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0], kOptions);
    EXPECT_EQ(ui.questions[1],
              "Cadena de Busqueda.|Escriba El Codigo de la EAPB para crear el filtro:");
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS002");

    ui.inputs = {"2abc", "aliansalud eps"};
    click("cmdBuscar", frm);
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS001");
    EXPECT_EQ(text("Text6", frm).toStdString(), "ALIANSALUD EPS");

    ui.inputs = {"9", "1", "EPS404"};
    click("cmdBuscar", frm);
    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[ui.messages.size() - 2].text, "La opción seleccionada no es correcta");
    EXPECT_EQ(last_title(), "Fracaso la Busqueda.");
    EXPECT_EQ(last_message(), "No se encontraron registros con Codigo de la EAPB = EPS404.");
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS001");
}

TEST_F(IpsWindowTest, AddingAndUpdatingAnEntityStoresTheBoxesAndTheLists) {
    Database& work = *window->program().work;
    // An update stores what the operator typed and chose.
    control<QLineEdit>("Text2", frm)->setText(QStringLiteral("Ana Ruiz Pérez"));
    control<QComboBox>("CmbDepto", frm)->setCurrentText(QStringLiteral("Antioquia"));
    control<QComboBox>("CmbMuni", frm)->setCurrentText(QString::fromUtf8("Medellín"));
    click("cmdActualizar", frm);
    EXPECT_EQ(work.count("SELECT * FROM gerentes WHERE administradora = 'EPS001' AND "
                         "responsable = 'Ana Ruiz Pérez' AND coddepto = '05' AND codmuni = '001'"),
              1);

    click("cmdAgregar", frm);
    EXPECT_EQ(texts(), "|||||ALIANSALUD EPS");
    control<QLineEdit>("Text1", frm)->setText(QStringLiteral("EPS005"));
    control<QLineEdit>("Text2", frm)->setText(QStringLiteral("Eva Díaz"));
    control<QLineEdit>("Text3", frm)->setText(QStringLiteral("Av 3"));
    control<QLineEdit>("Text4", frm)->setText(QStringLiteral("333"));
    control<QLineEdit>("Text5", frm)->setText(QStringLiteral("444"));
    click("cmdActualizar", frm);
    EXPECT_EQ(work.count("SELECT * FROM gerentes"), 3);
    EXPECT_EQ(work.count("SELECT * FROM gerentes WHERE administradora = 'EPS005' AND "
                         "responsable = 'Eva Díaz' AND TELEFONO = '444'"),
              1);

    click("ultreg", frm);
    EXPECT_EQ(text("Text1", frm).toStdString(), "EPS005");

    click("cmdCerrar", frm);
    EXPECT_EQ(opened("frmIPS"), nullptr);
}

}  // namespace
}  // namespace corvela::testing
