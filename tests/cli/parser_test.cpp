// The command line's own texts: the parser's failures in Spanish (an unknown command named, the
// commands listed), and a help page for every command that names --config and describes each of
// its arguments and options.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "support/command.h"

namespace corvela::testing {
namespace {

struct Answer {
    int status = -1;
    std::string text;
};

// Runs `corvela` with `args` and no installation (the parser answers before any is opened):
// its exit status and what it wrote on standard output, or on standard error when `errors`.
Answer corvela_parser(const std::string& args, bool errors) {
    const std::string cmd =
        std::string(CORVELA_BINARY) + " " + args + (errors ? " 2>&1 >/dev/null" : " 2>/dev/null");
    Answer answer;
    FILE* pipe = popen(cmd.c_str(), "r");
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) answer.text.append(buffer, n);
    const int status = pclose(pipe);
    answer.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return answer;
}

TEST(ParserTexts, ABadCommandLineIsToldInSpanishWithStatus2) {
    const struct {
        const char* args;
        const char* shown;  // a fragment of standard error
    } cases[] = {
        {"", "corvela: falta el comando\ncorvela: comandos de corvela: init, sedes, reference,"},
        {"bogus", "corvela: comando desconocido: bogus\ncorvela: comandos de corvela: init,"},
        {"sedes bogus",
         "corvela: comando desconocido: bogus\ncorvela: comandos de corvela sedes: add, import, "
         "list\ncorvela: vea corvela sedes --help\n"},
        {"validate",
         "corvela: falta DIR, que es obligatorio\ncorvela: vea corvela validate --help"},
        {"validate --threads 3 d", "corvela: --threads: el valor 3 no está entre 1 y 2\n"},
        {"validate d e", "corvela: argumento no esperado: e\n"},
        {"validate --yes=quizá d", "corvela: --yes no admite el valor quizá\n"},
        {"report bogus --ips a --delivery b",
         "corvela: KIND: bogus no es uno de {summary,inconsistencies}\n"},
        {"report summary --delivery b --ips", "corvela: --ips necesita un valor\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const Answer answer = corvela_parser(c.args, true);
        EXPECT_EQ(answer.status, 2);
        EXPECT_NE(answer.text.find(c.shown), std::string::npos) << answer.text;
    }
}

// The commands a help page lists under "Comandos:".
std::vector<std::string> listed_commands(const std::vector<std::string>& page) {
    std::vector<std::string> commands;
    bool listing = false;
    for (const auto& line : page) {
        if (line.rfind("  ", 0) != 0)
            listing = line == "Comandos:";
        else if (listing)
            commands.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    return commands;
}

// The items of a help page (arguments, options, commands) shown without a description: the
// description starts at column 30 of the item's line, or on the next line when the item is wider.
std::vector<std::string> undescribed(const std::vector<std::string>& page) {
    const std::string indent(30, ' ');
    std::vector<std::string> out;
    for (size_t i = 0; i < page.size(); ++i) {
        const std::string& line = page[i];
        if (line.size() < 3 || line.rfind("  ", 0) != 0 || line[2] == ' ') continue;
        const bool beside = line.size() > 30 && line[29] == ' ' && line[30] != ' ';
        const bool below = i + 1 < page.size() && page[i + 1].rfind(indent, 0) == 0;
        if (!beside && !below) out.push_back(line);
    }
    return out;
}

TEST(ParserTexts, EveryCommandsHelpNamesConfigAndDescribesEachItem) {
    std::vector<std::string> pending = {""};
    size_t pages = 0;
    while (!pending.empty()) {
        const std::string command = pending.back();
        pending.pop_back();
        SCOPED_TRACE("corvela" + command);
        const Answer answer = corvela_parser(command + " --help", false);
        const auto page = text_lines(answer.text);
        ++pages;
        EXPECT_EQ(answer.status, 0);
        EXPECT_NE(answer.text.find("  --config ARCHIVO "), std::string::npos) << answer.text;
        EXPECT_EQ(undescribed(page), std::vector<std::string>{});
        for (const auto& sub : listed_commands(page)) pending.push_back(command + " " + sub);
    }
    // The program, its 12 commands, and those of sedes (3) and reference (2).
    EXPECT_GE(pages, 18u);
}

}  // namespace
}  // namespace corvela::testing
