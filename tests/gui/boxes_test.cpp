// The boxes as the operator sees them, built for real and read without running them: standard
// buttons in Spanish with Qt's translation and without it, and the summary of a run with every
// number under its heading.
#include "gui/boxes.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTranslator>

#include "desk.h"
#include "gui/table_box.h"
#include "gui/translation.h"

namespace corvela::testing {
namespace {

QString without_mnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

std::vector<std::string> button_texts(const QList<QAbstractButton*>& buttons) {
    std::vector<std::string> texts;
    for (const QAbstractButton* b : buttons)
        texts.push_back(without_mnemonic(b->text()).toStdString());
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::string> button_texts(QDialog& box) {
    if (auto* m = qobject_cast<QMessageBox*>(&box)) return button_texts(m->buttons());
    auto* buttons = box.findChild<QDialogButtonBox*>();
    return buttons ? button_texts(buttons->buttons()) : std::vector<std::string>{};
}

// Qt's translation as the program loads it at start-up, then without it (a workstation where the
// translation file is missing): the boxes read in Spanish both ways.
TEST(SpanishButtons, WithQtsTranslationAndWithoutIt) {
    auto* translation = qApp->findChild<QTranslator*>();
    ASSERT_NE(translation, nullptr) << "Qt's Spanish translation was not found";
    for (bool translated : {true, false}) {
        SCOPED_TRACE(translated ? "translated" : "missing translation");
        if (!translated) QCoreApplication::removeTranslator(translation);
        EXPECT_EQ(gui::standard_buttons_translated(), translated);

        auto message = gui::message_box("Texto", "Atención", Icon::Information);
        EXPECT_EQ(button_texts(*message), std::vector<std::string>{"Aceptar"});
        auto table = gui::message_box("a\tb", "Atención", Icon::Information);
        EXPECT_EQ(button_texts(*table), std::vector<std::string>{"Aceptar"});
        auto question =
            gui::question_box("¿Desea cargarla.?", "Existe Información.", Icon::None, true);
        EXPECT_EQ(button_texts(*question), (std::vector<std::string>{"No", "Sí"}));
        EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::No));
        auto input = gui::input_box("Nombre", "", "");
        EXPECT_EQ(without_mnemonic(input->okButtonText()), QStringLiteral("Aceptar"));
        EXPECT_EQ(without_mnemonic(input->cancelButtonText()), QStringLiteral("Cancelar"));
    }
    QCoreApplication::installTranslator(translation);
    // Corvela's hint beside a message is the box's detailed text.
    auto hinted = gui::message_box("Texto", "Error", Icon::Critical, "Archivo: x.ini");
    EXPECT_EQ(qobject_cast<QMessageBox*>(hinted.get())->detailedText(),
              QStringLiteral("Archivo: x.ini"));
    // A summary's stands under its table.
    auto summary = gui::message_box("a\tb", "Resumén", Icon::Information, "AC: 3\nAD: 4");
    EXPECT_EQ(qobject_cast<gui::TableBox*>(summary.get())->hint_view()->text(),
              QStringLiteral("AC: 3\nAD: 4"));
}

// The left edge of each cell of every line that holds tabs, and where the cell before it ends.
struct Cells {
    std::vector<int> starts;
    std::vector<int> ends;  // ends[k] is the right edge of cell k - 1; ends[0] is unused
};

std::vector<Cells> table_cells(QTextEdit* view) {
    auto x_at = [view](int position) {
        QTextCursor cursor(view->document());
        cursor.setPosition(position);
        return view->cursorRect(cursor).left();
    };
    std::vector<Cells> lines;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        if (!text.contains(QLatin1Char('\t'))) continue;
        Cells cells{{x_at(b.position())}, {0}};
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] != QLatin1Char('\t') || (i > 0 && text[i - 1] == QLatin1Char('\t')))
                continue;
            cells.ends.push_back(x_at(b.position() + i));
            int next = i;
            while (next < text.size() && text[next] == QLatin1Char('\t')) ++next;
            cells.starts.push_back(x_at(b.position() + next));
        }
        lines.push_back(cells);
    }
    return lines;
}

using SummaryBox = Desk;

// The summary of a run of the sample, then the same with the shortest file code, a long one and
// ten-digit counts: each number starts where its heading starts, past the cell before it.
TEST_F(SummaryBox, ShowsEveryNumberUnderItsHeading) {
    open();
    run_sample();
    ASSERT_EQ(last_title(), "Resumén de la validación.");
    const std::string sample = last_message();
    const std::string wide = sample + "AC\t 9999999999\t 9999999999\t 0\r" +
                             "AC000001_IPS_SALUD_VALLE_SEDE_NORTE\t 1234567890\t 0\t 1234567890\r";
    for (const std::string& text : {sample, wide}) {
        auto box = gui::message_box(text, last_title(), Icon::Information);
        auto* table = dynamic_cast<gui::TableBox*>(box.get());
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->windowTitle(), QString::fromUtf8("Resumén de la validación."));
        EXPECT_EQ(table->text_view()->toPlainText(), gui::display_text(text));

        const auto lines = table_cells(table->text_view());
        ASSERT_EQ(lines.size(), text == sample ? 11u : 13u);
        const Cells& heading = lines.front();
        ASSERT_EQ(heading.starts.size(), 4u);  // Archivo, Leidos, Errados, Pasaron
        for (size_t r = 1; r < lines.size(); ++r) {
            SCOPED_TRACE("line " + std::to_string(r));
            ASSERT_EQ(lines[r].starts, heading.starts);
            for (size_t k = 1; k < 4; ++k) {
                EXPECT_LT(lines[r].ends[k], heading.starts[k]);
                EXPECT_LT(heading.ends[k], heading.starts[k]);
            }
        }
    }
}

}  // namespace
}  // namespace corvela::testing
