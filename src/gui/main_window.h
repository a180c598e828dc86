// The main window `total`: the drive, folder and file pickers of a delivery, the header boxes,
// the months grid, the progress of a run and the buttons of every operation. It owns the running
// program and forwards each button to its operation; while a run or a save is under way the
// other controls are disabled.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/program.h"
#include "gui/dialogs.h"
#include "gui/drives.h"
#include "gui/qt_ui.h"

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace corvela::gui {

class FolderList;

// Opens a written page with the workstation's default program.
using Opener = std::function<bool(const std::string&)>;
Opener default_opener();

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    MainWindow(const Clock& clock, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: configuration, size warning, both databases, the last run's state; the window is
    // centred. A start-up that failed has shown its message; the window stays usable and is not
    // centred.
    void Form_Load(const std::filesystem::path& config_path);

    Program& program() { return *program_; }
    void setOpener(Opener opener) { opener_ = std::move(opener); }

    // Done when a volume is ready; stopped, its not-ready message shown, when it is not.
    Status drive_ready(const Volume& volume);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The header boxes, each showing one value of the delivery's header.
    struct HeaderBoxes {
        QLineEdit* COD_EAPB = nullptr;
        QLineEdit* NOMEAPB = nullptr;
        QLineEdit* NOMREMITENTE = nullptr;
        QLineEdit* DIRECCION = nullptr;
        QLineEdit* TELEFONO = nullptr;
        QLineEdit* NFAX = nullptr;
        QLineEdit* NREMISION = nullptr;
        QLineEdit* FECHAREMI = nullptr;
        QLineEdit* PERIODO = nullptr;
    };
    // Each header box with the value of the delivery's header it shows.
    struct HeaderBox {
        QLineEdit* HeaderBoxes::*box;
        std::string DeliveryHeader::*value;
    };
    static const HeaderBox kHeaderBoxes[9];
    // The delivery's header in the boxes.
    void show_header(const DeliveryHeader& header);
    // The boxes, as the operator may have completed them, into the delivery's header: what a
    // save stores and the kept state holds.
    void take_header();

    // The buttons of the operations, each wired to its slot.
    struct Buttons {
        QPushButton *BLeer, *Cmdgraba, *CmdInforme, *CmdBorrarRad, *CmdLimpiar, *CmdEAPB,
            *CmdAnalisis, *Bsalir;
    };
    void build();
    // The parts of the window: the title, the pickers of the delivery, the header boxes, the
    // months grid, the buttons, the progress of a run.
    QHBoxLayout* title_row(QWidget* body);
    QGroupBox* pickers_box(QWidget* body);
    QGroupBox* header_box(QWidget* body);
    QGroupBox* months_box(QWidget* body);
    QGroupBox* actions_box(QWidget* body, Buttons& b);
    QHBoxLayout* progress_row(QWidget* body);
    // The tab order, the controls an operation disables, and the slots of the controls.
    void wire(const Buttons& b);
    void fill_drives();
    void Drive1_Change(int index);
    void Dir1_Change();
    void Dir1_Click();
    void File1_Click(int row);
    void show_folder(const QString& folder);

    void BLeer_Click();
    void Cmdgraba_Click();
    void CmdInforme_Click();
    void CmdBorrarRad_Click();
    void CmdLimpiar_Click();
    void CmdEAPB_Click();
    void Bsalir_Click();

    // True when start-up opened the databases.
    bool ready() const { return program_->work != nullptr; }
    // The same, for a button that needs the databases: without them the operator is told to
    // create a configuration, and it stops.
    Status databases_ready();
    // Runs a long operation with every other control disabled; a failure is shown, not thrown.
    void exclusive(const std::function<Status()>& operation);
    // Runs a handler, showing a failure the core did not handle itself.
    void guarded(const std::function<void()>& handler);
    void open_window(QWidget* window);

    MainControls controls_{};
    HeaderBoxes boxes_{};
    QComboBox* Drive1_ = nullptr;
    FolderList* Dir1_ = nullptr;
    QListWidget* File1_ = nullptr;
    std::vector<QWidget*> operable_;  // the controls disabled while an operation runs
    std::vector<Volume> volumes_;
    int drive_index_ = -1;
    QString file_folder_;
    bool busy_ = false;
    std::filesystem::path config_path_;

    std::unique_ptr<QtUi> ui_;
    std::unique_ptr<Program> program_;
    Opener opener_;
};

}  // namespace corvela::gui
