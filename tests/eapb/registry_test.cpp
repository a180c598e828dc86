// The EAPB registry window's logic: opening, the display of an entity, navigation, the searches,
// adding, changing and deleting entities, checked against the stored rows.
#include "eapb/registry.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/installation.h"

namespace corvela::testing {
namespace {

using Items = std::vector<std::string>;

const char* const kOptions =
    "Opciones de Busqueda.|Por cual campo desea realizar la busqueda: \r\r         1 - Codigo "
    "EAPB.\r         2 - Nombre de EAPB. \r";
const char* const kByCode =
    "Cadena de Busqueda.|Escriba El Codigo de la EAPB para crear el filtro:";

class EapbRegistryTest : public ::testing::Test {
  protected:
    // Two institution types, two departments, three municipalities (code 001 in both).
    void lists() {
        inst.work().exec(
            "INSERT INTO TR_instituciones VALUES ('1', 'EPS', 'E'), ('2', 'ARS', 'A');"
            "INSERT INTO departamentos VALUES ('76', 'VALLE'), ('05', 'ANTIOQUIA');"
            "INSERT INTO municipios VALUES ('76', '520', 'PALMIRA'), ('76', '001', 'CALI'), "
            "('05', '001', 'MEDELLIN')");
    }
    // Three entities: a complete one, one with null codes and a null name, one without its
    // tr_administradoras row.
    void entities() {
        lists();
        inst.work().exec(
            "INSERT INTO gerentes VALUES ('EPS005', 'Ana Ruiz', 'Cra 1', NULL, '555', '76', "
            "'001'), "
            "('EPS007', 'Luis', 'Cl 2', '111', '222', NULL, NULL), "
            "('EPS009', 'Eva', 'Av 3', '333', '444', '05', '001');"
            "INSERT INTO tr_administradoras VALUES ('EPS005', 'salud total ñandú', 'E'), "
            "('EPS007', NULL, 'A')");
    }
    std::vector<std::string> rows(const std::string& sql) { return inst.rows(sql); }
    // The messages shown since the last call, as "icon title|text" (I information, C critical).
    Items shown() {
        Items out;
        for (const auto& m : ui.messages)
            out.push_back(std::string(m.icon == Icon::Information ? "I "
                                      : m.icon == Icon::Critical  ? "C "
                                                                  : "- ") +
                          m.title + "|" + m.text);
        ui.messages.clear();
        return out;
    }
    std::string texts() const {
        return form.texts.code + "|" + form.texts.manager + "|" + form.texts.address + "|" +
               form.texts.fax + "|" + form.texts.telephone + "|" + form.texts.name;
    }
    // The three selections, then the four codes.
    std::string selection() const {
        return form.institution_types.selected() + "|" + form.departments.selected() + "|" +
               form.municipalities.selected() + " " + form.entity_code() + "|" + form.type_code() +
               "|" + form.department_code() + "|" + form.municipality_code();
    }

    Installation inst;
    ScriptedUi ui;
    EapbRegistry form{inst.work(), ui};
};

TEST_F(EapbRegistryTest, OpeningOnAnEmptyRegistryShowsEmptyBoxesAndTheFirstType) {
    lists();
    form.texts.code = "x";
    form.texts.name = "kept";
    form.open();
    EXPECT_EQ(texts(), "|||||kept");
    EXPECT_EQ(form.institution_types.items, (Items{"ARS", "EPS"}));
    EXPECT_EQ(form.institution_types.index, 0);
    EXPECT_EQ(form.type_code(), "A");
    EXPECT_EQ(form.departments.items, (Items{"ANTIOQUIA", "VALLE"}));
    EXPECT_EQ(form.departments.index, -1);
    EXPECT_TRUE(form.municipalities.items.empty());
    EXPECT_TRUE(ui.messages.empty());
    // Navigating an empty registry finds no row and says nothing.
    form.next();
    form.previous();
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EapbRegistryTest, ADatabaseFailureIsShownAndTheWindowStaysUsable) {
    lists();
    inst.work().exec("ALTER TABLE gerentes DROP COLUMN fax");
    inst.work().exec("INSERT INTO gerentes (administradora) VALUES ('EPS001')");
    form.open();
    EXPECT_EQ(shown(), (Items{"C Error|Se presento el Error #  3265 al leer archivo de EAPB\r\rNo "
                              "se encontró el elemento en esta colección."}));
    form.update();
    form.close();
    EXPECT_TRUE(form.closed());
}

TEST_F(EapbRegistryTest, DisplayFillsBoxesCombosAndCodes) {
    entities();
    form.open();
    EXPECT_EQ(texts(), "EPS005|Ana Ruiz|Cra 1||555|SALUD TOTAL ÑANDÚ");
    EXPECT_EQ(selection(), "EPS|VALLE|CALI EPS005|E|76|001");
    EXPECT_EQ(form.municipalities.items, (Items{"CALI", "PALMIRA"}));

    // Null codes look for department "00" and municipality "000": the combos keep their
    // selection; a null name shows "NO DEFINIDO".
    form.next();
    EXPECT_EQ(texts(), "EPS007|Luis|Cl 2|111|222|NO DEFINIDO");
    EXPECT_EQ(selection(), "ARS|VALLE|CALI EPS007|A|00|000");

    // Another department replaces the municipality list; an entity without its row keeps the
    // type shown.
    form.next();
    EXPECT_EQ(texts(), "EPS009|Eva|Av 3|333|444|NO DEFINIDO");
    EXPECT_EQ(selection(), "ARS|ANTIOQUIA|MEDELLIN EPS009|A|05|001");
    EXPECT_EQ(form.municipalities.items, (Items{"MEDELLIN"}));
}

TEST_F(EapbRegistryTest, SearchByCode) {
    entities();
    form.open();
    ui.inputs = {"1", "  eps009 "};
    form.search();
    EXPECT_EQ(ui.questions, (Items{kOptions, kByCode}));
    EXPECT_EQ(form.texts.code, "EPS009");
    EXPECT_TRUE(ui.messages.empty());

    // Not found, also for a text holding quotes: the message, and the row shown stays current.
    form.first();
    for (std::string code : {"EPS404", "X' OR '1'='1"}) {
        ui.inputs = {"1", code};
        form.search();
        EXPECT_EQ(shown(), (Items{"- Fracaso la Busqueda.|No se encontraron registros con Codigo "
                                  "de la EAPB = " +
                                  code + "."}));
    }
    form.next();
    EXPECT_EQ(form.texts.code, "EPS007");

    // An empty code ends the search without a message.
    ui.inputs = {"1", "   "};
    form.search();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form.texts.code, "EPS007");
}

TEST_F(EapbRegistryTest, SearchByNameAndTheOptionQuestion) {
    entities();
    inst.work().exec("UPDATE tr_administradoras SET nombre = 'nueva eps' WHERE codigo = 'EPS005'");
    form.open();
    form.last();
    // "2abc" is option 2; the typed name is searched in upper case, which the table's own
    // comparison matches with the stored lower case.
    ui.inputs = {"2abc", " Nueva eps "};
    form.search();
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1], "Corvela|Escriba nombre de la EAPB para crear el filtro:");
    EXPECT_EQ(form.texts.code, "EPS005");
    EXPECT_TRUE(ui.messages.empty());

    ui.inputs = {"2", "abc"};
    form.search();
    EXPECT_EQ(shown(),
              (Items{"- Fracaso la Busqueda.|No se encontraron registros con Nombre de agencia = "
                     "ABC."}));
    EXPECT_EQ(form.texts.code, "EPS005");

    // "9" repeats the question after the error; a cancelled question (empty answer) ends it, as
    // do "0", "3" and a letter.
    for (std::string last : {"", "0", "3", "x1"}) {
        ui.questions.clear();
        ui.inputs = {"9", last, "EPS009"};
        form.search();
        EXPECT_EQ(shown(), (Items{"C Error de Opción|La opción seleccionada no es correcta"}));
        EXPECT_EQ(ui.questions, (Items{kOptions, kOptions}));
        EXPECT_EQ(form.texts.code, "EPS005");
    }
}

TEST_F(EapbRegistryTest, AddedEntitiesAreStoredWithTheirNameRow) {
    lists();
    inst.work().exec("INSERT INTO tr_administradoras VALUES ('EPS020', 'VIEJO', 'A')");
    form.open();

    // A code without a tr_administradoras row gets one.
    form.add();
    std::tie(form.texts.code, form.texts.manager, form.texts.address, form.texts.fax,
             form.texts.telephone, form.texts.name) =
        std::tuple("EPS010", "Resp", "Dir", "Fax", "Tel", "NUEVA EPS");
    form.select_department(1);        // VALLE
    form.select_municipality(1);      // PALMIRA
    form.select_institution_type(1);  // EPS
    form.update();
    EXPECT_TRUE(ui.messages.empty());

    // A code that has one updates it, its name once the operator confirms the change.
    form.add();
    EXPECT_EQ(texts(), "|||||NUEVA EPS");
    form.texts.code = "EPS020";
    form.texts.name = "RENOMBRADA";
    ui.answers = {true};
    form.update();
    EXPECT_EQ(ui.questions,
              Items{"Corvela|¿Cambiar el nombre de la EAPB EPS020 de «VIEJO» a «RENOMBRADA»?"});

    EXPECT_EQ(rows("SELECT * FROM gerentes ORDER BY rowid"),
              (Items{"EPS010|Resp|Dir|Fax|Tel|76|520", "EPS020|||||76|520"}));
    EXPECT_EQ(rows("SELECT * FROM tr_administradoras ORDER BY codigo"),
              (Items{"EPS010|NUEVA EPS|E", "EPS020|RENOMBRADA|E"}));

    // The stored rows are browsed like the others, the last one saved being current.
    form.previous();
    EXPECT_EQ(texts(), "EPS010|Resp|Dir|Fax|Tel|NUEVA EPS");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EapbRegistryTest, UpdateChangesOnlyTheShownRows) {
    entities();
    form.open();
    form.texts.manager = "Otra Persona";
    form.texts.name = "Salud Total";
    form.select_institution_type(0);  // ARS
    ui.answers = {true};
    form.update();
    EXPECT_EQ(rows("SELECT * FROM gerentes ORDER BY rowid"),
              (Items{"EPS005|Otra Persona|Cra 1||555|76|001", "EPS007|Luis|Cl 2|111|222|null|null",
                     "EPS009|Eva|Av 3|333|444|05|001"}));
    EXPECT_EQ(rows("SELECT * FROM tr_administradoras ORDER BY rowid"),
              (Items{"EPS005|Salud Total|A", "EPS007|null|A"}));

    // A null name stays null (it is shown, not typed), while the codes of null ones are stored
    // as shown; an entity without its row gets one.
    form.last();
    form.previous();
    form.update();
    EXPECT_EQ(rows("SELECT * FROM gerentes WHERE administradora = 'EPS007'"),
              (Items{"EPS007|Luis|Cl 2|111|222|00|000"}));
    EXPECT_EQ(rows("SELECT * FROM tr_administradoras WHERE codigo = 'EPS007'"),
              (Items{"EPS007|null|A"}));
    EXPECT_EQ(ui.questions.size(), 1u);
    form.next();
    form.update();
    EXPECT_EQ(rows("SELECT * FROM tr_administradoras WHERE codigo = 'EPS009'"),
              (Items{"EPS009|NO DEFINIDO|A"}));
    EXPECT_EQ(inst.work().count("SELECT * FROM gerentes"), 3);
}

TEST_F(EapbRegistryTest, DeleteAsksAndRemovesOnlyTheShownContactRow) {
    entities();
    form.open();
    form.next();
    ui.answers = {false};
    form.remove();
    EXPECT_EQ(ui.questions, (Items{"Borrar Registro|¿Desea borrar realmente el registro?"}));
    EXPECT_EQ(ui.question_icons, (std::vector<Icon>{Icon::Critical}));
    EXPECT_EQ(shown(), (Items{"I Cancelada Acción de Borrar.|El registro no ha sido Borrado de "
                              "la base de datos"}));
    EXPECT_EQ(inst.work().count("SELECT * FROM gerentes"), 3);

    ui.answers = {true};
    form.remove();
    EXPECT_EQ(shown(),
              (Items{"I Se Borro Registro.|El registro ha sido Borrado de la base de datos"}));
    EXPECT_EQ(form.texts.code, "EPS009");
    EXPECT_EQ(rows("SELECT administradora FROM gerentes"), (Items{"EPS005", "EPS009"}));
    EXPECT_EQ(inst.work().count("SELECT * FROM tr_administradoras"), 2);

    // Deleting the last row shows the new last one; a new row not yet stored is only dropped.
    ui.answers = {true};
    form.remove();
    EXPECT_EQ(form.texts.code, "EPS005");
    form.add();
    ui.answers = {true};
    form.remove();
    EXPECT_EQ(form.texts.code, "EPS005");
    EXPECT_EQ(rows("SELECT administradora FROM gerentes"), (Items{"EPS005"}));
}

}  // namespace
}  // namespace corvela::testing
