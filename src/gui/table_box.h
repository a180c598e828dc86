// A message box for a text laid out in columns with tabs, such as the summary of a run with its
// file table. QMessageBox shows its text in a label that puts a tab stop every 80 pixels whatever
// the font, so there a number drifts away from its heading as soon as a cell is wider or narrower
// than a stop. Here the text sits in a text document whose tab stops are set from the widest cell
// of each column; the text itself is shown as given.
#pragma once

#include <QDialog>
#include <QMessageBox>

class QLabel;
class QTextDocument;
class QTextEdit;

namespace corvela::gui {

// Sets the tab stops of every line of `doc` that holds tabs so that cell k of each such line
// starts where column k starts. A run of tabs ends one cell: the heading "Archivo" + TAB + TAB
// stands over the column of the file codes, which each end with a single tab.
void align_columns(QTextDocument& doc);

class TableBox : public QDialog {
    Q_OBJECT
  public:
    // `hint`, Corvela's own line beside the text, is shown under it when not empty.
    TableBox(const QString& text, const QString& title, QMessageBox::Icon icon,
             QWidget* parent = nullptr, const QString& hint = {});

    // The read-only text, laid out in columns.
    QTextEdit* text_view() const { return text_; }
    // The hint under it, null when there is none.
    QLabel* hint_view() const { return hint_; }

  private:
    QTextEdit* text_ = nullptr;
    QLabel* hint_ = nullptr;
};

}  // namespace corvela::gui
