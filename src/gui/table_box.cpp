#include "gui/table_box.h"

#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "gui/translation.h"

namespace corvela::gui {

namespace {
// The tallest the text gets before it scrolls, in pixels.
constexpr int kTallest = 520;

// A cell of a line: the text up to a run of tabs, and how many tabs that run has (0 for the
// line's last cell).
struct Cell {
    QString text;
    int tabs;
};

std::vector<Cell> cells_of(const QString& line) {
    std::vector<Cell> cells;
    qsizetype start = 0;
    for (;;) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0) {
            cells.push_back({line.mid(start), 0});
            return cells;
        }
        qsizetype end = tab;
        while (end < line.size() && line[end] == QLatin1Char('\t')) ++end;
        cells.push_back({line.mid(start, tab - start), static_cast<int>(end - tab)});
        start = end;
    }
}

// The icon a QMessageBox shows for `icon`, at the same size.
QPixmap box_pixmap(QMessageBox::Icon icon, const QWidget* box) {
    QStyle::StandardPixmap which;
    switch (icon) {
        case QMessageBox::Information:
            which = QStyle::SP_MessageBoxInformation;
            break;
        case QMessageBox::Warning:
            which = QStyle::SP_MessageBoxWarning;
            break;
        case QMessageBox::Critical:
            which = QStyle::SP_MessageBoxCritical;
            break;
        case QMessageBox::Question:
            which = QStyle::SP_MessageBoxQuestion;
            break;
        default:
            return {};
    }
    const QStyle* style = box->style();
    const int size = style->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box);
    return style->standardIcon(which, nullptr, box).pixmap(size, size);
}

bool has_tabs(const QTextBlock& block) {
    return block.text().contains(QLatin1Char('\t'));
}

// The tab stops of one line: each run of tabs reaches the start of the next column with its last
// tab, the tabs before it stopping on the way.
QList<QTextOption::Tab> line_tabs(const std::vector<Cell>& cells, const std::vector<qreal>& start,
                                  const QFontMetricsF& metrics) {
    QList<QTextOption::Tab> tabs;
    for (size_t k = 0; k < cells.size(); ++k) {
        const int n = cells[k].tabs;
        if (n == 0) continue;
        const qreal end = start[k] + metrics.horizontalAdvance(cells[k].text);
        const qreal next = start[k + 1];
        for (int i = 1; i < n; ++i)
            tabs << QTextOption::Tab(end + (next - end) * i / n, QTextOption::LeftTab);
        tabs << QTextOption::Tab(next, QTextOption::LeftTab);
    }
    return tabs;
}
}  // namespace

void align_columns(QTextDocument& doc) {
    const QFontMetricsF metrics(doc.defaultFont());
    const qreal gap = metrics.horizontalAdvance(QStringLiteral("MM"));
    std::vector<qreal> widest;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (!has_tabs(b)) continue;
        const auto cells = cells_of(b.text());
        if (widest.size() < cells.size()) widest.resize(cells.size(), 0);
        for (size_t k = 0; k < cells.size(); ++k)
            widest[k] = std::max(widest[k], metrics.horizontalAdvance(cells[k].text));
    }
    std::vector<qreal> start{0};  // where each column starts
    for (qreal w : widest) start.push_back(start.back() + w + gap);

    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (!has_tabs(b)) continue;
        QTextBlockFormat format = b.blockFormat();
        format.setTabPositions(line_tabs(cells_of(b.text()), start, metrics));
        QTextCursor(b).setBlockFormat(format);
    }
}

TableBox::TableBox(const QString& text, const QString& title, QMessageBox::Icon icon,
                   QWidget* parent, const QString& hint)
    : QDialog(parent) {
    setWindowTitle(title);

    auto* picture = new QLabel(this);
    picture->setPixmap(box_pixmap(icon, this));

    // Looks like a message box's text: no frame, the dialog's background, selectable for copying.
    text_ = new QTextEdit(this);
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_->setFocusPolicy(Qt::NoFocus);
    text_->setLineWrapMode(QTextEdit::NoWrap);
    text_->setFrameShape(QFrame::NoFrame);
    text_->viewport()->setAutoFillBackground(false);
    text_->setPlainText(text);
    align_columns(*text_->document());

    // The whole text without scrolling, unless a long table would make the box too tall for a
    // screen; then the text scrolls up and down.
    const QSizeF size = text_->document()->size();  // margins included
    const int height = static_cast<int>(std::ceil(size.height()));
    const bool scrolls = height > kTallest;
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int bar = scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, text_) : 0;
    text_->setMinimumSize(static_cast<int>(std::ceil(size.width())) + bar,
                          std::min(height, kTallest));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    spanish_buttons(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* body = new QHBoxLayout;
    body->addWidget(picture, 0, Qt::AlignTop);
    body->addWidget(text_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    if (!hint.isEmpty()) {
        hint_ = new QLabel(hint, this);
        hint_->setObjectName(QStringLiteral("detalle"));
        hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        hint_->setWordWrap(true);
        layout->addWidget(hint_);
    }
    layout->addWidget(buttons);
}

}  // namespace corvela::gui
