// The folder list `Dir1`: the folders from the root of the drive down to the current folder,
// and the current folder's subfolders below it. Activating an entry (double click or Enter)
// makes it the current folder; a single click only selects it.
#pragma once

#include <QTreeWidget>

namespace corvela::gui {

class FolderList : public QTreeWidget {
    Q_OBJECT
  public:
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return path_; }
    // Makes `folder` the current folder; emits pathChanged when it changes.
    void setPath(const QString& folder);

  Q_SIGNALS:
    void pathChanged(const QString& folder);  // `Dir1_Change`
    void folderClicked();                     // `Dir1_Click`

  private:
    void rebuild();
    QString path_;
};

}  // namespace corvela::gui
