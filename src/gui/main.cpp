// `corvela-gui`: the desktop program. Opens the main window over the installation named by the
// configuration file (--config FILE, else RIPSIPS_INI, else the platform's place).
#include <QApplication>
#include <QCommandLineParser>

#include "gui/command_line.h"
#include "gui/dialogs.h"
#include "gui/identity.h"
#include "gui/main_window.h"
#include "gui/translation.h"
#include "platform/clock.h"
#include "platform/config.h"

int main(int argc, char** argv) {
    if (auto answered = corvela::gui::answer_help_or_version(argc, argv)) return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvela-gui"));
    QApplication::setApplicationVersion(QStringLiteral(CORVELA_VERSION));
    corvela::gui::install_qt_spanish(app);
    QCommandLineParser parser;
    QCommandLineOption config(QStringLiteral("config"),
                              QString::fromUtf8(corvela::kConfigOptionHelp),
                              QStringLiteral("ARCHIVO"));
    parser.addOption(config);
    parser.process(app);
    corvela::gui::identify_program();

    corvela::SystemClock clock;
    corvela::gui::QtDialogs dialogs;
    corvela::gui::MainWindow window(clock, dialogs);
    window.Form_Load(corvela::configuration_path(parser.value(config).toStdString()));
    window.show();
    return QApplication::exec();
}
