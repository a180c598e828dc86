#include "gui/folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace corvela::gui {

namespace {
constexpr int kPathRole = Qt::UserRole;
}

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(14);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { setPath(item->data(0, kPathRole).toString()); });
    connect(this, &QTreeWidget::itemClicked, this, [this] { Q_EMIT folderClicked(); });
}

void FolderList::setPath(const QString& folder) {
    QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (clean == path_ || !QFileInfo(clean).isDir()) return;
    path_ = clean;
    rebuild();
    Q_EMIT pathChanged(path_);
}

void FolderList::rebuild() {
    clear();
    QStringList chain;  // from the current folder up to the root
    QDir dir(path_);
    chain << dir.absolutePath();
    while (dir.cdUp()) chain << dir.absolutePath();

    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parent = nullptr;
    for (auto it = chain.crbegin(); it != chain.crend(); ++it) {
        QString name =
            QDir(*it).isRoot() ? QDir::toNativeSeparators(*it) : QFileInfo(*it).fileName();
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, name);
        item->setIcon(0, open);
        item->setData(0, kPathRole, *it);
        parent = item;
    }
    const QFileInfoList subfolders =
        QDir(path_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& sub : subfolders) {
        auto* item = new QTreeWidgetItem(parent);
        item->setText(0, sub.fileName());
        item->setIcon(0, closed);
        item->setData(0, kPathRole, sub.absoluteFilePath());
    }
    expandAll();
    setCurrentItem(parent);
    scrollToItem(parent);
}

}  // namespace corvela::gui
