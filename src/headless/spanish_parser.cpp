#include "headless/spanish_parser.h"

#include <regex>
#include <utility>
#include <vector>

#include "platform/config.h"

namespace corvela {

namespace {

// An English text of the parser and its Spanish form ($1, $2 … are the parts it names).
struct Rewrite {
    std::regex english;
    const char* spanish;
};

// The text with every rewrite of the table that matches applied in turn.
std::string rewritten(std::string text, const std::vector<Rewrite>& table) {
    for (const auto& r : table) text = std::regex_replace(text, r.english, r.spanish);
    return text;
}

// The text with the first rewrite of the table that matches it (a value quoted in the Spanish text
// is never read again); unchanged when none does.
std::string first_rewritten(const std::string& text, const std::vector<Rewrite>& table) {
    for (const auto& r : table)
        if (std::regex_search(text, r.english))
            return std::regex_replace(text, r.english, r.spanish,
                                      std::regex_constants::format_first_only);
    return text;
}

// Every failure text the parser gives on a command line. Those of the value checks follow the
// option's name ("--threads: Value 3 …"), so they are not anchored at the start.
const std::vector<Rewrite>& failure_rewrites() {
    static const std::vector<Rewrite> table = {
        {std::regex(R"(^(.+) is required$)"), "falta $1, que es obligatorio"},
        {std::regex(R"(^The following argument was not expected: (.*)$)"),
         "argumento no esperado: $1"},
        {std::regex(R"(^The following arguments were not expected: (.*)$)"),
         "argumentos no esperados: $1"},
        {std::regex(R"(^(.+): 1 required .+ missing$)"), "$1 necesita un valor"},
        {std::regex(R"(^(.+): (\d+) required .+ missing$)"), "$1 necesita $2 valores"},
        {std::regex(R"(^Expected exactly (\d+) arguments to (.+), got (\d+)$)"),
         "$2 lleva exactamente $1 valores y recibió $3"},
        {std::regex(R"(^Expected at least (\d+) arguments to (.+), got (\d+)$)"),
         "$2 lleva al menos $1 valores y recibió $3"},
        {std::regex(R"(^(.+): At least (\d+) required but received (\d+)$)"),
         "$1 lleva al menos $2 valores y recibió $3"},
        {std::regex(R"(^(.+): At Most (\d+) required but received (\d+)$)"),
         "$1 lleva a lo sumo $2 valores y recibió $3"},
        {std::regex(R"(^(.+) was given a disallowed flag override$)"), "$1 no lleva valor"},
        {std::regex(R"(^(.+): too many inputs for a flag$)"), "$1 no lleva valor"},
        {std::regex(R"(^(.+): Should be true/false or a number$)"),
         "$1 lleva true, false o un número"},
        {std::regex(R"(^The value (.+) is not an allowed value for (.+)$)"),
         "$1 no es un valor permitido de $2"},
        {std::regex(R"(^Could not convert: (.+) = (.*)$)"), "$1 no admite el valor $2"},
        {std::regex(R"(^(\S+) excludes (\S+)$)"), "$1 no puede usarse con $2"},
        {std::regex(R"(^(\S+) requires (\S+)$)"), "$1 necesita $2"},
        {std::regex(R"(Value (.*) not in range (\S+) to (\S+)$)"),
         "el valor $1 no está entre $2 y $3"},
        {std::regex(R"(Value (.*) could not be converted$)"), "el valor $1 no es un número"},
        {std::regex(R"(Failed parsing (.*) as a .*$)"), "el valor $1 no es del tipo pedido"},
        {std::regex(R"((.*) not in \{(.*)\}$)"), "$1 no es uno de {$2}"},
        {std::regex(R"(File does not exist: )"), "no existe el archivo: "},
        {std::regex(R"(File is actually a directory: )"), "es una carpeta, no un archivo: "},
        {std::regex(R"(Directory does not exist: )"), "no existe la carpeta: "},
        {std::regex(R"(Directory is actually a file: )"), "es un archivo, no una carpeta: "},
        {std::regex(R"(Path does not exist: )"), "no existe la ruta: "},
        {std::regex(R"(Path already exists: )"), "ya existe la ruta: "},
    };
    return table;
}

// The kinds of value a help page shows beside an option ("INT in [1 - 2]" is a checked range).
const std::vector<Rewrite>& value_kind_rewrites() {
    static const std::vector<Rewrite> table = {
        {std::regex(R"((\w+)(?::\1)? in \[([^\]]*) - ([^\]]*)\])"), "$1 de $2 a $3"},
        {std::regex(R"((\w+)(?::\1)? bounded to \[([^\]]*) - ([^\]]*)\])"), "$1 de $2 a $3"},
        {std::regex(R"(\bTEXT\b)"), "TEXTO"},
        {std::regex(R"(\bU?INT\b)"), "ENTERO"},
        {std::regex(R"(\b(FLOAT|NUMBER)\b)"), "NÚMERO"},
        {std::regex(R"(\bBOOLEAN\b)"), "SÍ/NO"},
        {std::regex(R"(\bCHAR\b)"), "CARÁCTER"},
        {std::regex(R"(\bFILE\b)"), "ARCHIVO"},
        {std::regex(R"(\bDIR\b)"), "CARPETA"},
        {std::regex(R"(\bPATH\(existing\))"), "RUTA(existente)"},
        {std::regex(R"(\bPATH\(non-existing\))"), "RUTA(nueva)"},
    };
    return table;
}

// The help pages as CLI11 lays them out, with its headings and the kinds of value in Spanish.
class SpanishFormatter : public CLI::Formatter {
  public:
    SpanishFormatter() {
        for (const auto& [english, spanish] : std::vector<std::pair<const char*, const char*>>{
                 {"Usage", "Uso"},
                 {"OPTIONS", "OPCIONES"},
                 {"SUBCOMMAND", "COMANDO"},
                 {"SUBCOMMANDS", "COMANDOS"},
                 {"Positionals", "Argumentos"},
                 {"REQUIRED", "OBLIGATORIO"},
                 {"Env", "Variable"},
                 {"Needs", "Necesita"},
                 {"Excludes", "Excluye"},
             })
            label(english, spanish);
    }
    // A blank line between the description and the usage line, so that the manual page made
    // from the help keeps them apart.
    std::string make_description(const CLI::App* app) const override {
        std::string description = CLI::Formatter::make_description(app);
        return description.empty() ? description : description + "\n";
    }
    std::string make_option_opts(const CLI::Option* opt) const override {
        return rewritten(CLI::Formatter::make_option_opts(opt), value_kind_rewrites());
    }
};

// The command the command line chose last (the program itself when none): the one whose help
// the failure points to.
const CLI::App* chosen_command(const CLI::App* app) {
    for (auto chosen = app->get_subcommands(); !chosen.empty(); chosen = app->get_subcommands())
        app = chosen.front();
    return app;
}

// "corvela sedes add": how the command is written on the command line.
std::string command_path(const CLI::App* app) {
    std::string path = app->get_name();
    for (const CLI::App* up = app->get_parent(); up; up = up->get_parent())
        path.insert(0, up->get_name() + " ");
    return path;
}

// "init, sedes, …": the commands `app` offers.
std::string command_list(const CLI::App* app) {
    std::string list;
    for (const CLI::App* sub : app->get_subcommands({}))
        list += (list.empty() ? "" : ", ") + sub->get_name();
    return list;
}

// The first word of the command line that the parser took for nothing: an unknown command when
// it is not an option.
std::string unknown_word(const CLI::App* root) {
    for (const auto& word : root->remaining(true))
        if (!word.empty() && word[0] != '-') return word;
    return "";
}

std::string failure_text(const CLI::App* root, const CLI::Error& e) {
    const CLI::App* chosen = chosen_command(root);
    const std::string path = command_path(chosen);
    // Each line is the program's name and the text, as a command's failures are told.
    const std::string program = root->get_name() + ": ";
    std::string text;
    if (std::string(e.what()) == CLI::RequiredError::Subcommand(1).what()) {
        const std::string word = unknown_word(root);
        text = (word.empty() ? "falta el comando" : "comando desconocido: " + word) + "\n" +
               program + "comandos de " + path + ": " + command_list(chosen);
    } else {
        text = first_rewritten(e.what(), failure_rewrites());
    }
    return program + text + "\n" + program + "vea " + path + " --help\n";
}

}  // namespace

void prepare_parser(CLI::App& app, const std::string& program, const std::string& version) {
    app.name(program);
    app.formatter(std::make_shared<SpanishFormatter>());
    app.failure_message(failure_text);
    app.option_defaults()->group("Opciones");
    app.group("Comandos");
    app.set_help_flag("-h,--help", "Muestra esta ayuda y termina");
    app.set_version_flag("--version", version, "Muestra la versión del programa y termina");
}

void finish_parser(CLI::App& app, std::string& config) {
    if (!app.get_option_no_throw("--config"))
        app.add_option("--config", config, kConfigOptionHelp)->type_name("ARCHIVO");
    // A command's help flag is made before it takes the program's group names.
    for (CLI::Option* option : app.get_options())
        if (option->get_group() == "Options") option->group(app.option_defaults()->get_group());
    for (CLI::App* sub : app.get_subcommands({})) finish_parser(*sub, config);
}

}  // namespace corvela
