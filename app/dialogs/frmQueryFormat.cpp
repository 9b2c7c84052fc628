#include "frmQueryFormat.h"

#include "store/Library.h"
#include "ui_frmQueryFormat.h"


namespace qelvane {

namespace {
constexpr int NullNameRole = Qt::UserRole + 1;
} // namespace

frmQueryFormat::frmQueryFormat(const Services& services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmQueryFormat>()), m_services(services)
{
    ui->setupUi(this);
    for (const library::MetreTemplate& metre : library::metreTemplates(*m_services.db)) {
        auto* entry = new QListWidgetItem(metre.name, ui->lstName);
        // A template without a name shows as an empty entry and still opens.
        entry->setData(NullNameRole, metre.nullName);
    }

    connect(ui->cmdSearch, &tolvarin::Tolvarin::Click, this, &frmQueryFormat::cmdSearch_Click);
    connect(ui->cmdExit, &tolvarin::Tolvarin::Click, this, &frmQueryFormat::cmdExit_Click);
    // Enter in the name looks it up, as the button does.
    connect(ui->txtName, &QLineEdit::returnPressed, this, &frmQueryFormat::cmdSearch_Click);
    // A click, or the arrow keys choosing another entry, shows the template (the focus
    // entering the list makes an entry current without choosing it).
    connect(ui->lstName, &QListWidget::itemClicked, this, &frmQueryFormat::lstName_Click);
    connect(ui->lstName, &QListWidget::itemSelectionChanged, this, &frmQueryFormat::lstName_Click);
    ui->lstName->installEventFilter(this);
}

// A list's current entry reads as focused to a screen reader even while the focus is
// elsewhere: the list has a current entry only while it has the focus (the chosen one
// stays chosen, and is current again when the focus comes back).
bool frmQueryFormat::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->lstName) {
        if (event->type() == QEvent::FocusOut)
            ui->lstName->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        else if (event->type() == QEvent::FocusIn && !ui->lstName->selectedItems().isEmpty())
            ui->lstName->setCurrentItem(ui->lstName->selectedItems().first(), QItemSelectionModel::NoUpdate);
    }
    return QDialog::eventFilter(watched, event);
}

frmQueryFormat::~frmQueryFormat() = default;

// The first template of that name, an empty text for a Null one, or the not-found text.
void frmQueryFormat::lookUp(const QString& name, bool nullName)
{
    ui->txtContent->setPlainText(library::metreTemplate(*m_services.db, {name, nullName})
                                     .value_or(QStringLiteral("未找到符合条件的结果")));
}

void frmQueryFormat::cmdSearch_Click()
{
    lookUp(ui->txtName->text());
}

void frmQueryFormat::lstName_Click()
{
    const QList<QListWidgetItem*> chosen = ui->lstName->selectedItems();
    if (!chosen.isEmpty())
        lookUp(chosen.first()->text(), chosen.first()->data(NullNameRole).toBool());
}

void frmQueryFormat::cmdExit_Click()
{
    close();
}

} // namespace qelvane
