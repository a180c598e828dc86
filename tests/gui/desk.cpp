#include "desk.h"

#include <QListWidget>
#include <QTest>

#include "gui/folder_list.h"
#include "gui/translation.h"

namespace corvela::testing {

namespace {
// One application for every test, on the offscreen platform unless another was chosen, with
// Qt's Spanish translation as the program loads it.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        app_ = std::make_unique<QApplication>(argc_, argv_);
        gui::install_qt_spanish(*app_);
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
