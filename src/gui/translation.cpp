#include "gui/translation.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace corvela::gui {

namespace {
// The standard buttons the program's boxes use, with the texts Qt's translation gives them.
struct SpanishButton {
    QDialogButtonBox::StandardButton which;
    const char* text;
};
constexpr SpanishButton kSpanishButtons[] = {
    {QDialogButtonBox::Yes, "&Sí"},
    {QDialogButtonBox::No, "&No"},
    {QDialogButtonBox::Ok, "Aceptar"},
    {QDialogButtonBox::Cancel, "Cancelar"},
};

// Box is QMessageBox or QDialogButtonBox: both name their standard buttons with the same values.
template <class Box>
void name_buttons(Box& box) {
    if (standard_buttons_translated()) return;
    for (const auto& b : kSpanishButtons)
        if (QAbstractButton* button =
                box.button(static_cast<typename Box::StandardButton>(b.which)))
            button->setText(QString::fromUtf8(b.text));
}
}  // namespace

QTranslator* install_qt_spanish(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

bool standard_buttons_translated() {
    // Qt looks up the standard buttons' texts in this context.
    return QCoreApplication::translate("QPlatformTheme", "OK") != QLatin1String("OK");
}

void spanish_buttons(QMessageBox& box) {
    name_buttons(box);
}

void spanish_buttons(QDialogButtonBox& buttons) {
    name_buttons(buttons);
}

void spanish_buttons(QInputDialog& dialog) {
    if (standard_buttons_translated()) return;
    dialog.setOkButtonText(QStringLiteral("Aceptar"));
    dialog.setCancelButtonText(QStringLiteral("Cancelar"));
}

}  // namespace corvela::gui
