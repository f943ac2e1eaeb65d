// The user's edits are kept from being lost: the title says when there are unsaved edits,
// commands that would drop them ask first, every edit can be taken back, and the last files
// are at hand.
#include "app/main_window.h"

#include "app/edit_history.h"
#include "app/recent_files.h"
#include "app/record_transfer.h"
#include "editors/ui/output_editors.h"
#include "form/form_surface.h"
#include "link/ui/sensor_link.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace telmora {

namespace {

constexpr const char* kTitle = "Telmora 1.08";

} // namespace

void MainWindow::BuildEditProtection() {
    history_ = std::make_unique<EditHistory>(
        [this] { return transfer_->WindowRecord(); },
        [this](const SensorConfig& record) {
            const float countDistance = config_.CountDistance;
            config_ = record;
            config_.CountDistance = countDistance;
            ShowRecordB(); // the whole window, as a record from a file is shown
        });
    QList<QMenu*> menus{menus_.mnuSecurity};
    for (QMenu* popUp : editors_->PopUpMenus()) {
        if (popUp != nullptr) {
            menus << popUp;
        }
    }
    history_->Watch(*surface_, menus);
    history_->Drive(menus_.mnuEditUndo, menus_.mnuEditRedo);
    connect(history_.get(), &EditHistory::ModifiedChanged, this, &MainWindow::ShowTitle);
    recent_ = std::make_unique<RecentFiles>(*menus_.mnuFileRecent,
                                            [this](const QString& path) { OpenRecentFile(path); });
}

void MainWindow::ConfigurationArrived(const QString& file) {
    file_ = file;
    history_->Reset();
    ShowTitle();
}

// "Telmora 1.08 - pump.cfg *": the file's name when there is one, a star for unsaved edits.
void MainWindow::ShowTitle() {
    QString title = kTitle;
    if (!file_.isEmpty()) {
        title += " - " + QFileInfo(file_).fileName();
    }
    if (history_->IsModified()) {
        title += " *";
    }
    setWindowTitle(title);
    setAccessibleName(title);
}

bool MainWindow::MayDropEdits() {
    history_->Note(); // text typed into a box that was never left counts too
    if (!history_->IsModified()) {
        return true;
    }
    QMessageBox box(QMessageBox::Question, kTitle,
                    "The configuration has changes that are not saved to disk or sent to the "
                    "sensor. Save them to disk first?",
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName("msgUnsavedEdits");
    box.button(QMessageBox::Save)->setText("Save to disk");
    box.button(QMessageBox::Discard)->setText("Discard");
    box.button(QMessageBox::Cancel)->setText("Cancel");
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveThroughDialog();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void MainWindow::OpenRecentFile(const QString& path) {
    link_->GiveWay();
    if (link_->IsBusy() || !MayDropEdits()) {
        return;
    }
    if (!LoadConfigurationFile(path)) {
        recent_->Remove(path);
    }
}

} // namespace telmora
