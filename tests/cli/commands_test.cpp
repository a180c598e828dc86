// The `corvela` command as an operator runs it: the built program on a test installation, its
// output and exit status, and the rows it leaves. Start-up with a bad configuration file, set-up
// that must not overwrite, the sites, and the listing, report and deletion of saved deliveries.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <numeric>
#include <regex>

#include "platform/text.h"
#include "support/session.h"

namespace corvela::testing {
namespace {

// The cells of an aligned line of the command's tables (cells are two or more blanks apart).
std::vector<std::string> cells(const std::string& line) {
    static const std::regex gap(" {2,}");
    std::vector<std::string> out;
    for (std::sregex_token_iterator it(line.begin(), line.end(), gap, -1), end; it != end; ++it)
        out.push_back(*it);
    return out;
}

using CommandLine = SessionTest;

// A summary's texts without its times, which vary from run to run.
std::string without_times(const std::string& text) {
    static const std::regex times("(Tiempo de [^:]*:)[^\n]*");
    return std::regex_replace(text, times, "$1 …");
}

// The mistakes a newcomer makes: the message of each stays as it was on standard output, and a
// line of Corvela's own on standard error names the file, folder or code and the next step.
TEST_F(CommandLine, EachMistakeKeepsItsMessageAndAHintSaysWhatAndWhere) {
    std::filesystem::create_directories(inst.results());
    const std::string config = read_file(inst.config);
    const std::string db = (inst.dir / "db").string(), dir = inst.delivery.string();
    const std::string results = "," + inst.results_root.string() + "\r\n";
    auto configure = [&](const std::string& text) {
        std::ofstream(inst.config, std::ios::binary) << text;
    };
    // The box of a configuration file that cannot be read: the failure's number and text.
    auto unread = [](const std::string& number, const std::string& text) {
        return "[Error]\nSe presento el Error # " + number + " al leer archivo de Configuración " +
               "\n\n" + text + "\n";
    };
    const std::string no_file = unread(" 2", "No existe el archivo o la carpeta");
    const std::string head = std::string(kIps) + ",01/11/2026,";
    const std::string months = " MESES REPORTADOS\n  Mes    Año\n";
    const std::string ended =
        "[Atención]\nFinalizo el proceso de lectura de archivos planos. Debe procesar los datos si "
        "desea almacenarlos y subir los registros depurados.\n[Resumén de la validación.]\n";
    const std::string times = "\nTiempo de proceso: …\nTiempo de validación por Registro: …\n\n";
    const std::string config_file = "Archivo de configuración: " + inst.config.string() + ".";
    const struct {
        const char* mistake;
        std::function<void()> make;
        std::string args, out;  // standard output, the times of a summary left out ("": any)
        std::string hint;       // what standard error names
        int status;
    } cases[] = {
        {"no configuration file", [&] { std::filesystem::remove(inst.config); }, "sedes list",
         no_file, "créelo con «corvela init CARPETA --config " + inst.config.string() + "»", 2},
        {"an empty configuration file", [&] { configure(""); }, "sedes list",
         unread(" 62", "La entrada pasa del final del archivo"), config_file, 2},
        {"a folder for the configuration file",
         [&] {
             std::filesystem::remove(inst.config);
             std::filesystem::create_directory(inst.config);
         },
         "sedes list", unread(" 21", "Es una carpeta"), config_file, 2},
        {"a configuration line without a comma", [&] { configure(db + "/\r\n"); }, "sedes list",
         unread(" 5", "Llamada a procedimiento o argumento no válidos"), config_file, 2},
        // The database names are glued to the folder's last name: the size check fails first.
        {"a database folder without its final /", [&] { configure(db + results); }, "sedes list",
         no_file, "Le falta la / final: escriba «" + db + "/»", 2},
        {"a database folder without the databases",
         [&] {
             std::filesystem::create_directory(inst.dir / "vacia");
             configure((inst.dir / "vacia").string() + "/" + results);
         },
         "sedes list", no_file,
         "créelas con «corvela init " + (inst.dir / "vacia").string() + "/ --config", 2},
        {"an IPS that is not registered",
         [&] {
             inst.write("CT000001.txt", crlf({"760010099999,01/11/2026,US000001,3",
                                              "760010099999,01/11/2026,AD000001,1"}));
         },
         "validate " + dir, "[No habilitada]\nNo existe la IPS en la tabla de habilitadas.\n",
         "«760010099999» del archivo de control CT000001.txt no está entre las sedes registradas: "
         "regístrela con «corvela sedes add 760010099999",
         1},
        {"a results folder that cannot be created",
         [&] {
             std::ofstream(inst.dir / "archivo") << "";
             configure(db + "/," + (inst.dir / "archivo").string() + "\r\n" + inst.server_line());
         },
         "validate " + dir,
         "[Error]\nSe presento el Error #  20 al leer archivo de Control\n\nNo es una carpeta\n",
         (inst.dir / "archivo" / "Validacion").string(), 1},
        {"the last run kept with --yes", [&] { corvela("validate " + dir); },
         "validate --yes " + dir,
         "[Existe Información.]\nExiste información en tablas temporales que no se ha "
         "cargado.\n¿Desea cargarla.?\n> Sí\n",
         "guárdela con «corvela save» y valide de nuevo, o valide con --no para descartarla", 1},
        // The run's summary, whole: the message and the table as the window's box shows them.
        {"a listed file missing from the folder",
         [&] { std::filesystem::remove(inst.delivery / "AD000001.txt"); }, "validate " + dir,
         months + ended + "Leidos:  3\nPasaron: 2\nErrados: 1\n" + times +
             "Archivo\t\tLeidos\tErrados\tPasaron\nUS000001\t 3\t 1\t 2\nAD000001\t 0\t 0\t 0\n\n",
         "El archivo de control CT000001.txt nombra AD000001.TXT, que no está en la carpeta " + dir,
         0},
        {"a count that differs from the declared one",
         [&] {
             inst.write("CT000001.txt", crlf({head + "US000001,5", head + "AD000001,1"}));
         },
         "validate " + dir, "",
         "US000001.TXT: se leyeron 3 registros y el archivo de control CT000001.txt declara 5.", 0},
        {"a workbook in a folder that does not exist", [] {},
         "validate --xlsx " + (inst.dir / "nada" / "libro.xlsx").string() + " " + dir, "",
         "No se pudo escribir el libro " + (inst.dir / "nada" / "libro.xlsx").string() +
             ": No existe el archivo o la carpeta",
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mistake);
        std::filesystem::remove_all(inst.config);
        configure(config);
        write_delivery("000001");
        // No run is left unsaved but where a case makes one.
        run_sql(inst.work(), "UPDATE estado_corrida SET valor = 'I' WHERE clave = 'estado'");
        c.make();
        EXPECT_EQ(run_corvela(inst, c.args, inst.dir / "out.txt", inst.dir / "err.txt"), c.status);
        if (!c.out.empty()) {
            EXPECT_EQ(without_times(output()), c.out);
        }
        const std::string err = read_file(inst.dir / "err.txt");
        EXPECT_TRUE(err.starts_with("corvela: ")) << err;
        EXPECT_NE(err.find(c.hint), std::string::npos) << err;
    }
    EXPECT_FALSE(std::filesystem::exists(inst.dir / "dbRef_rips.db"));
    // With --json the text goes to standard error and no document is printed; a byte-order mark
    // before the configuration's line is skipped.
    configure(db + "/\r\n");
    EXPECT_EQ(
        run_corvela(inst, "validate --json " + dir, inst.dir / "out.txt", inst.dir / "err.txt"), 2);
    EXPECT_EQ(output(), "");
    EXPECT_EQ(read_file(inst.dir / "err.txt").rfind("[Error]\nSe presento el Error #  5 ", 0), 0u);
    configure("\xEF\xBB\xBF" + config);
    EXPECT_EQ(corvela("sedes list"), 0) << output();
}

// A folder that does not exist, or a file given for it, stops `validate` before anything else:
// the last run, not saved, is neither asked about nor emptied, and no results folder is made.
TEST_F(CommandLine, AFolderThatIsNoDeliveryStopsBeforeAnythingIsTouched) {
    write_delivery("000001");
    ASSERT_EQ(corvela("validate '" + inst.delivery.string() + "'"), 0);
    std::filesystem::remove_all(inst.results());
    auto kept = [&] {
        return sizes("usuario descripcion ERRORES") + " " +
               inst.rows("SELECT valor FROM estado_corrida WHERE clave = 'estado'").at(0);
    };
    ASSERT_EQ(kept(), "2 1 2 N");
    const std::string missing = (inst.dir / "nada").string();
    const std::string file = (inst.delivery / "US000001.txt").string();
    const std::pair<std::string, std::string> cases[] = {
        {missing, "No existe la carpeta de la entrega " + missing + "."},
        {file, file + " no es una carpeta: indique la carpeta de la entrega."},
    };
    for (const auto& [folder, said] : cases) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(run_corvela(inst, "validate '" + folder + "'", inst.dir / "out.txt",
                              inst.dir / "err.txt"),
                  2);
        EXPECT_EQ(output(), "");
        EXPECT_EQ(read_file(inst.dir / "err.txt"), "corvela: " + said + "\n");
        EXPECT_EQ(kept(), "2 1 2 N");
        EXPECT_FALSE(std::filesystem::exists(inst.results()));
    }
}

TEST_F(CommandLine, InitNeverOverwritesADatabase) {
    const std::filesystem::path other = inst.dir / "otra";
    std::filesystem::create_directories(other);
    std::ofstream(other / "Ref_rips.db") << "";
    const std::string config_before = read_file(inst.config);
    const struct {
        std::filesystem::path folder;
        std::string refused;
    } cases[] = {
        {inst.dir / "db", "registros_ips.db"},
        {other, "Ref_rips.db"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.string());
        EXPECT_EQ(corvela("init '" + c.folder.string() + "' --reference '" +
                          std::string(CORVELA_SOURCE_DIR) + "/data/reference'"),
                  2);
        EXPECT_EQ(output(), "Ya existe la base de datos " + (c.folder / c.refused).string() +
                                "; no se sobrescribe.\n");
    }
    EXPECT_FALSE(std::filesystem::exists(other / "registros_ips.db"));
    EXPECT_EQ(read_file(other / "Ref_rips.db"), "");
    EXPECT_EQ(read_file(inst.config), config_before);
    EXPECT_EQ(inst.rows("SELECT habilitacion, nombre FROM sedes"),
              std::vector<std::string>{"760010012301|IPS de prueba"});
}

// `init` of a new folder beside a configuration naming another one leaves the file as it is and
// says what it must hold; with --config it writes a new file there.
TEST_F(CommandLine, InitBesideAConfigurationSaysWhatItStillNames) {
    const std::string before = read_file(inst.config);
    const std::string reference =
        " --reference '" + std::string(CORVELA_SOURCE_DIR) + "/data/reference'";
    const std::string db2 = (inst.dir / "db2").string();
    EXPECT_EQ(corvela("init '" + db2 + "'" + reference), 0);
    EXPECT_EQ(output(),
              "Bases de datos creadas en " + db2 + "\nEl archivo de configuración " +
                  inst.config.string() + " ya existe y no se cambió: sigue nombrando la carpeta " +
                  (inst.dir / "db").string() +
                  "/.\nPara usar la instalación nueva, su primera línea debe ser esta" +
                  // A server's lines would keep the history on the server.
                  (testing::Installation::on_server() ? ", sin sus líneas servidor= y puesto=:\n"
                                                      : ":\n") +
                  db2 + "/," + db2 +
                  "\nO escríbala en un archivo nuevo y nómbrelo con --config ARCHIVO "
                  "en cada orden; el actual sigue sirviendo a la instalación que "
                  "nombra.\n");
    EXPECT_EQ(read_file(inst.config), before);

    const std::string db3 = (inst.dir / "db3").string(), other = (inst.dir / "otra.ini").string();
    const std::string init = std::string(CORVELA_BINARY) + " init '" + db3 + "'" + reference +
                             " --config '" + other + "' > /dev/null";
    EXPECT_EQ(std::system(init.c_str()), 0);
    EXPECT_EQ(read_file(other), db3 + "/," + db3 + "\r\n");
}

TEST_F(CommandLine, SedesAddRefusesARegisteredCodeAndImportReplacesIt) {
    std::ofstream(inst.dir / "sedes.csv", std::ios::binary)
        << "habilitacion,nombre,gerente,DIRECCION,fax,TELEFONO\r\n"
        << kIps << ",IPS renombrada,Eva Díaz,Av 3,10,20\r\n";
    // A bad site is named by its line, the header being line 1.
    std::ofstream(inst.dir / "malas.csv", std::ios::binary)
        << "habilitacion,nombre,gerente,DIRECCION,fax,TELEFONO\r\n"
        << kIps << ",IPS renombrada,,,,\r\n123,Corta,,,,\r\n";
    const std::string one = "760010012301|IPS de prueba", two = one + " 760010099999|Nueva";
    const struct {
        std::string args;
        int status;
        std::string shown;
        std::string sites;  // code and name of every site afterwards
    } cases[] = {
        {"sedes add 760010012301 --nombre Otra", 2, "La sede 760010012301 ya está registrada.\n",
         one},
        {"sedes add 76001001230 --nombre Corta", 2,
         "El código de habilitación \"76001001230\" no tiene 12 caracteres.\n", one},
        {"sedes add 760010099999 --nombre Nueva --gerente 'Luz Mar' --telefono 7", 0,
         "Sede 760010099999 registrada.\n", two},
        {"sedes import '" + (inst.dir / "malas.csv").string() + "'", 2,
         "Línea 3 de malas.csv: El código de habilitación \"123\" no tiene 12 caracteres.\nNo se "
         "cargó ninguna sede.\n",
         two},
        {"sedes import '" + (inst.dir / "sedes.csv").string() + "'", 0,
         "Sedes cargadas de " + (inst.dir / "sedes.csv").string() + ".\n",
         "760010012301|IPS renombrada 760010099999|Nueva"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        EXPECT_EQ(corvela(c.args), c.status);
        EXPECT_EQ(output(), c.shown);
        std::string sites;
        for (const auto& row : inst.rows("SELECT habilitacion, nombre FROM sedes ORDER BY 1"))
            sites += (sites.empty() ? "" : " ") + row;
        EXPECT_EQ(sites, c.sites);
    }
    EXPECT_EQ(inst.rows("SELECT gerente, TELEFONO FROM sedes ORDER BY habilitacion"),
              (std::vector<std::string>{"Eva Díaz|20", "Luz Mar|7"}));
    // The list's columns keep their widths, counted in characters: accents shift nothing.
    ASSERT_EQ(corvela("sedes add 760010099998 --nombre 'María Ñúñez' --gerente José"), 0);
    ASSERT_EQ(corvela("sedes list"), 0);
    EXPECT_NE(output().find("\n760010099998  María Ñúñez                     José\n"),
              std::string::npos)
        << output();
}

TEST_F(CommandLine, ReportsWithNothingSavedSayThereIsNothingToPrint) {
    for (const char* args : {"deliveries", "report summary --ips x --delivery 000001/1"}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(corvela(args), 1);
        EXPECT_EQ(output(), "[Sin registros.]\nNo existen registros para imprimir\n");
    }
}

// Two deliveries saved by the command line, the second without the failing user, each with one
// invoice in the final tables.
class SavedDeliveries : public SessionTest {
  protected:
    void saved(const std::string& remission, const std::vector<std::string>& users) {
        write_delivery(remission, users);
        ASSERT_EQ(corvela("validate --today 2026-12-06 '" + inst.delivery.string() + "'"), 0)
            << output();
        invoice(remission);
        ASSERT_EQ(corvela("save --today 2026-12-06"), 0) << output();
    }
    void SetUp() override {
        saved("000001", kUsers);
        if (!HasFatalFailure()) saved("000002", {kUsers[0], kUsers[1]});
    }
    // Counters C1 to C29 of the saved error row of `type` of radicación 1.
    std::vector<double> counters(const std::string& type) {
        std::vector<double> out;
        for (int c = 1; c <= 29; ++c)
            out.push_back(inst.number("SELECT C" + std::to_string(c) +
                                      " FROM ERRORES WHERE nro_radicacion = 1 AND tipo = '" + type +
                                      "'"));
        return out;
    }
    // The cells of a printed line that are numbers.
    static std::vector<double> numbers(const std::string& line) {
        std::vector<double> out;
        for (const auto& cell : cells(line))
            if (is_numeric(cell)) out.push_back(leading_number_value(cell));
        return out;
    }
};

TEST_F(SavedDeliveries, DeliveriesListsEachIpsWithItsDeliveries) {
    // Another site's delivery, saved earlier.
    inst.work().exec(
        "INSERT INTO sedes (habilitacion, nombre) VALUES ('050010000001', 'Clínica Andes');"
        "INSERT INTO registros (archivo, eapb, nro_remision, nro_radicacion, IMPRESION) VALUES "
        "('US', '050010000001', '000007', 9, 0)");
    EXPECT_EQ(corvela("deliveries"), 0);
    EXPECT_EQ(output(),
              "050010000001  Clínica Andes\n  000007/ 9\n"
              "760010012301  IPS de prueba\n  000001/ 1\n  000002/ 2\n");
    EXPECT_EQ(corvela("deliveries --ips 'ips de PRUEBA'"), 0);
    EXPECT_EQ(output(), "760010012301  IPS de prueba\n  000001/ 1\n  000002/ 2\n");
    EXPECT_EQ(corvela("deliveries --ips Otra"), 2);
    EXPECT_EQ(output(), "No existe la IPS \"Otra\" entre las que tienen entregas guardadas.\n");
}

TEST_F(SavedDeliveries, ReportSummaryIsTheSavedCountsOfTheDelivery) {
    EXPECT_EQ(corvela("report summary --ips 'IPS de prueba' --delivery 000002/2"), 0);
    EXPECT_EQ(output(),
              "Resultado Validación\n"
              "Archivo  Leidos  Inconsistentes  Pasan_Validacion  Reg_Correctos\n"
              "US       2       0               2                 2\n"
              "AD       1       0               1                 1\n");
}

TEST_F(SavedDeliveries, ReportInconsistenciesShowsTheSavedErrorCounters) {
    const std::string page = (inst.dir / "informe.html").string();
    EXPECT_EQ(corvela("report inconsistencies --ips 'IPS de prueba' --delivery 000001/1 --html '" +
                      page + "'"),
              0);
    const auto shown = text_lines(output());
    ASSERT_EQ(shown.size(), 33u) << output();  // title, headings, 30 rows, the page written
    EXPECT_EQ(shown[0], "Resumen de inconsistencias por archivo y campo");
    EXPECT_EQ(cells(shown[1]),
              (std::vector<std::string>{"Usuarios", "Frecuencia", "Agrupada", "Frecuencia"}));
    // Row n holds counter n of each file (the labels are never numbers), the last row their sums.
    const std::vector<double> us = counters("US"), ad = counters("AD");
    ASSERT_GT(std::accumulate(us.begin(), us.end(), 0.0), 0);
    for (size_t n = 1; n <= 29; ++n)
        EXPECT_EQ(numbers(shown[n + 1]), (std::vector<double>{us[n - 1], ad[n - 1]})) << n;
    EXPECT_EQ(
        cells(shown[31]),
        (std::vector<std::string>{
            "Total inconsistencias", value_text(std::accumulate(us.begin(), us.end(), 0.0)),
            "Total inconsistencias", value_text(std::accumulate(ad.begin(), ad.end(), 0.0))}));
    EXPECT_EQ(shown[32], page);
    EXPECT_NE(read_file(page).find("Resumen de inconsistencias por archivo y campo"),
              std::string::npos);
}

TEST_F(SavedDeliveries, ADeliveryIsNamedAsListedOrByItsNumbers) {
    const std::string report = "report summary --ips 'IPS de prueba' --delivery ";
    ASSERT_EQ(corvela(report + "'000001/ 1'"), 0);
    const std::string listed = output();
    const struct {
        const char* text;
        bool names_it;
    } cases[] = {
        {"000001/1", true},  {"000001/01", true},  {"000001/2", false},
        {"000003/1", false}, {"000001/1x", false}, {"000001", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(corvela(report + "'" + c.text + "'"), c.names_it ? 0 : 2);
        EXPECT_EQ(output(), c.names_it ? listed
                                       : "La IPS \"IPS de prueba\" no tiene la entrega \"" +
                                             std::string(c.text) +
                                             "\". Entregas:\n  000001/ 1\n  000002/ 2\n");
    }
}

TEST_F(SavedDeliveries, DeleteAsksThenDeletesOnlyTheNamedRadicacion) {
    const std::string del = "delete --ips 'IPS de prueba' --delivery 000001/1";
    const std::string question =
        "[Borrar datos almacenados.]\nDesea borrar los datos almacenados de la radicación interna "
        "No.  1\n";
    EXPECT_EQ(corvela(del), 1);
    EXPECT_EQ(output(), question + "> No\n");
    EXPECT_EQ(sizes("f_usuario f_descripcion f_transacciones"), "4 2 2");

    EXPECT_EQ(corvela(del + " --yes"), 0);
    EXPECT_EQ(output(), question +
                            "> Sí\n[Proceso finalizado]\nFueron borrados los registros almacenados "
                            "con la radicación interna No.  1\n");
    EXPECT_EQ(sizes("f_usuario f_descripcion f_transacciones radicacion ERRORES"), "2 1 1 2 4");
    EXPECT_EQ(
        inst.rows("SELECT (SELECT group_concat(DISTINCT num_radicacion) FROM f_usuario), "
                  "(SELECT group_concat(num_factura) FROM f_transacciones), "
                  "(SELECT group_concat(r) FROM (SELECT nro_radicacion || ':' || IMPRESION AS r "
                  "FROM registros ORDER BY rowid) AS numerados)"),
        std::vector<std::string>{"2|FE000002|1:1,1:1,2:0,2:0"});

    // Gone from the lists, it can be neither reported nor deleted again.
    EXPECT_EQ(corvela("deliveries"), 0);
    EXPECT_EQ(output(), "760010012301  IPS de prueba\n  000002/ 2\n");
    EXPECT_EQ(corvela(del + " --yes"), 2);
    EXPECT_EQ(
        output(),
        "La IPS \"IPS de prueba\" no tiene la entrega \"000001/1\". Entregas:\n  000002/ 2\n");
}

}  // namespace
}  // namespace corvela::testing
