#include "desk.h"

#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include "gui/folder_list.h"
#include "gui/identity.h"
#include "gui/translation.h"

namespace corvela::testing {

namespace {
// One application for every test, on the offscreen platform's 1024x768 screen unless another
// platform was chosen, with Qt's Spanish translation and the program's name and icon as the
// program sets them.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral(CORVELA_TEST_SCREEN));
        app_ = std::make_unique<QApplication>(argc_, argv_);
        gui::install_qt_spanish(*app_);
        gui::identify_program();
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "corvela_gui";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
}  // namespace

void Desk::open(const std::filesystem::path& config_path) {
    window = std::make_unique<gui::MainWindow>(clock, ui);
    window->setOpener([this](const std::string& path) {
        opened_pages.push_back(path);
        return true;
    });
    window->Form_Load(config_path);
    window->show();
    QCoreApplication::processEvents();
}

void Desk::click(const char* button, QWidget* in) {
    if (auto* b = control<QAbstractButton>(button, in)) b->click();
    QCoreApplication::processEvents();
}

QWidget* Desk::opened(const char* name) {
    QWidget* w = window->findChild<QWidget*>(QLatin1String(name));
    return w && w->isVisible() ? w : nullptr;
}

void Desk::press(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    QCoreApplication::processEvents();
}

std::string Desk::focused() {
    const QWidget* w = QApplication::focusWidget();
    return w ? w->objectName().toStdString() : std::string();
}

std::vector<std::string> Desk::tabbing_from(QWidget* first, size_t count) {
    first->setFocus();
    std::vector<std::string> seen = {focused()};
    while (seen.size() < count) {
        press(Qt::Key_Tab);
        seen.push_back(focused());
    }
    return seen;
}

void Desk::expect_fits(QWidget* w) {
    ASSERT_NE(w, nullptr);
    SCOPED_TRACE(w->objectName().toStdString());
    const QRect area = w->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(w->frameGeometry()))
        << w->frameGeometry().x() << "," << w->frameGeometry().y() << " "
        << w->frameGeometry().width() << "x" << w->frameGeometry().height();
    // Nothing needs scrolling: the controls have all the room they ask for.
    const auto* scroll = w->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(scroll, nullptr);
    const QSize needed = scroll->widget()->minimumSizeHint();

    const QSize room = scroll->viewport()->size();
    EXPECT_TRUE(needed.width() <= room.width() && needed.height() <= room.height())
        << needed.width() << "x" << needed.height() << " in " << room.width() << "x"
        << room.height();
}

void Desk::pick_folder(const std::filesystem::path& folder) {
    auto* dir1 = control<gui::FolderList>("Dir1");
    std::vector<QString> steps;  // from the root down to the folder
    for (auto p = std::filesystem::absolute(folder);; p = p.parent_path()) {
        steps.insert(steps.begin(), QString::fromStdString(p.string()));
        if (p == p.parent_path()) break;
    }
    for (const QString& step : steps) {
        QTreeWidgetItem* target = nullptr;
        for (QTreeWidgetItemIterator it(dir1); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString() == step) target = *it;
        ASSERT_NE(target, nullptr) << step.toStdString();
        dir1->scrollToItem(target);
        const QPoint at = dir1->visualItemRect(target).center();
        QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, at);
    }
    ASSERT_EQ(dir1->path(), QString::fromStdString(folder.string()));
}

void Desk::pick_file(const QString& name) {
    auto* file1 = control<QListWidget>("File1");
    const auto found = file1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    file1->scrollToItem(found.front());
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, {},
                      file1->visualItemRect(found.front()).center());
}

void Desk::run_sample() {
    pick_folder(inst.delivery);
    click("BLeer");
}

std::vector<std::string> Desk::rows_of(QTreeWidget* view) {
    std::vector<std::string> rows;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        std::string row;
        for (int c = 0; c < view->columnCount(); ++c)
            row += (c ? "|" : "") + view->topLevelItem(i)->text(c).toStdString();
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Desk::headers_of(QTreeWidget* view) {
    std::vector<std::string> headers;
    for (int c = 0; c < view->columnCount(); ++c)
        headers.push_back(view->headerItem()->text(c).toStdString());
    return headers;
}

std::vector<std::string> Desk::items_of(QComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
    return items;
}

}  // namespace corvela::testing
