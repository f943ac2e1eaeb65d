#pragma once

#include "config/config_fields.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QTableWidget;

namespace telmora {

// frmCompare: the window's configuration beside another one (a sensor's or a file's),
// one row per parameter the family holds, differing rows marked and counted. "Copy" puts
// the same table on the clipboard as plain text.
class CompareDialog : public QDialog {
    Q_OBJECT
  public:
    CompareDialog(const QString& title, std::string leftName, std::string rightName,
                  std::vector<FieldComparison> fields, QWidget* parent = nullptr);

    // Shows the comparison modally over `parent`.
    static void Show(const QString& title, std::string leftName, std::string rightName,
                     std::vector<FieldComparison> fields, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Fill();
    void cmdCopyClick();

    std::string leftName_;
    std::string rightName_;
    std::vector<FieldComparison> fields_;
    std::vector<std::string> recordNames_;
    QTableWidget* tblCompare_;
    QLabel* lblDifferences_;
    QCheckBox* chkOnlyDifferences_;
};

} // namespace telmora
