#include "dialogs/ui/compare_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace telmora {

namespace {

enum Column { kMark, kName, kLeft, kRight, kUnit, kColumnCount };

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// A code with the short caption of its meaning: "0 (Hyst)".
QString WithMeaning(const std::string& value, const std::string& meaning) {
    const QString caption = Text(meaning).section(':', 0, 0);
    return caption.isEmpty() ? Text(value) : Text(value) + " (" + caption + ")";
}

} // namespace

CompareDialog::CompareDialog(const QString& title, std::string leftName, std::string rightName,
                             std::vector<FieldComparison> fields, QWidget* parent)
    : QDialog(parent), leftName_(std::move(leftName)), rightName_(std::move(rightName)),
      fields_(std::move(fields)) {
    // Named as the window names them; the record's name stays in the tooltip.
    for (FieldComparison& field : fields_) {
        recordNames_.push_back(field.Name);
        field.Name = std::string(FieldCaption(field.Name));
    }
    setObjectName("frmCompare");
    setWindowTitle(title);

    auto* heading =
        new QLabel(QString("%1 compared with %2").arg(Text(leftName_), Text(rightName_)), this);
    heading->setObjectName("lblCompareSides");
    heading->setWordWrap(true);
    heading->setAccessibleName(heading->text());

    tblCompare_ = new QTableWidget(0, kColumnCount, this);
    tblCompare_->setObjectName("tblCompare");
    tblCompare_->setAccessibleName("Comparison table");
    tblCompare_->setHorizontalHeaderLabels(
        {"", "Parameter", Text(leftName_), Text(rightName_), "Unit"});
    tblCompare_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblCompare_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblCompare_->verticalHeader()->hide();
    tblCompare_->horizontalHeader()->setStretchLastSection(true);
    // The corner button selects every row (for "Copy" from the keyboard: Ctrl+A does too).
    if (auto* corner = tblCompare_->findChild<QAbstractButton*>())
        corner->setAccessibleName("Select all rows");

    lblDifferences_ = new QLabel(this);
    lblDifferences_->setObjectName("lblDifferences");
    lblDifferences_->setAccessibleName("Number of differences");

    chkOnlyDifferences_ = new QCheckBox("Show &only differences", this);
    chkOnlyDifferences_->setObjectName("chkOnlyDifferences");
    chkOnlyDifferences_->setAccessibleName("Show only differences");
    connect(chkOnlyDifferences_, &QCheckBox::toggled, this, [this] { Fill(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton("&Copy", QDialogButtonBox::ActionRole);
    copy->setObjectName("cmdCopy");
    copy->setToolTip("Copy the table to the clipboard as text");
    copy->setAccessibleName("Copy");
    buttons->button(QDialogButtonBox::Close)->setObjectName("cmdClose");
    buttons->button(QDialogButtonBox::Close)->setAccessibleName("Close");
    connect(copy, &QPushButton::clicked, this, &CompareDialog::cmdCopyClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(tblCompare_, 1);
    layout->addWidget(lblDifferences_);
    layout->addWidget(chkOnlyDifferences_);
    layout->addWidget(buttons);
    Fill();

    tblCompare_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 3 / 2);
    // Wide enough for the columns as filled, as tall as the screen allows for most of a
    // family's rows, and the first difference in view.
    tblCompare_->resizeColumnsToContents();
    const int width = tblCompare_->horizontalHeader()->length() +
                      tblCompare_->verticalScrollBar()->sizeHint().width() +
                      4 * tblCompare_->frameWidth() + 2 * layout->contentsMargins().left();
    int height = tblCompare_->verticalHeader()->defaultSectionSize() * 24 + sizeHint().height();
    if (const QScreen* screen =
            parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())
        height = std::min(height, screen->availableGeometry().height() * 4 / 5);
    resize(std::max(width, sizeHint().width()), height);
}

void CompareDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (int row = 0; row < tblCompare_->rowCount(); ++row) {
        if (tblCompare_->item(row, kMark)->text() == "*") {
            tblCompare_->scrollToItem(tblCompare_->item(row, kMark),
                                      QAbstractItemView::PositionAtTop);
            break;
        }
    }
}

void CompareDialog::Fill() {
    const bool onlyDifferences = chkOnlyDifferences_->isChecked();
    tblCompare_->setRowCount(0);
    for (const FieldComparison& field : fields_) {
        if (onlyDifferences && !field.Differs)
            continue;
        const int row = tblCompare_->rowCount();
        tblCompare_->insertRow(row);
        const QStringList cells{field.Differs ? "*" : "", Text(field.Name),
                                WithMeaning(field.Left, field.LeftMeaning),
                                WithMeaning(field.Right, field.RightMeaning), Text(field.Unit)};
        const QStringList tips{{},
                               Text(recordNames_.at(&field - fields_.data())),
                               Text(field.LeftMeaning),
                               Text(field.RightMeaning),
                               {}};
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells.at(column));
            if (field.Differs) {
                // Marked, bold and shaded, so the mark does not rest on colour alone.
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(QColor(255, 229, 153));
                item->setForeground(Qt::black);
            }
            // The record's name on the parameter, a code's whole meaning on its value.
            item->setToolTip(tips.at(column));
            tblCompare_->setItem(row, column, item);
        }
    }
    const std::size_t differences = CountDifferences(fields_);
    lblDifferences_->setText(differences == 0   ? QString("No differences")
                             : differences == 1 ? QString("1 difference")
                                                : QString("%1 differences").arg(differences));
}

void CompareDialog::cmdCopyClick() {
    QApplication::clipboard()->setText(Text(ComparisonText(fields_, leftName_, rightName_)));
}

void CompareDialog::Show(const QString& title, std::string leftName, std::string rightName,
                         std::vector<FieldComparison> fields, QWidget* parent) {
    CompareDialog dialog(title, std::move(leftName), std::move(rightName), std::move(fields),
                         parent);
    dialog.exec();
}

} // namespace telmora
