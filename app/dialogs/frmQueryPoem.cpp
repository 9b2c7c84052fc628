#include "frmQueryPoem.h"

#include "PoemSearch.h"
#include "platform/MessageBox.h"
#include "store/DbConnection.h"
#include "store/Library.h"
#include "store/StoreError.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"
#include "SearchResults.h"
#include "ui_frmQueryPoem.h"
#include <QDebug>

namespace qelvane {

frmQueryPoem::frmQueryPoem(const Services& services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmQueryPoem>()), m_services(services)
{
    ui->setupUi(this);
    setModal(false);
    m_results = new SearchResults(this);
    ui->lvwPoem->setModel(m_results);
    optFind = {ui->optFind_0, ui->optFind_1};

    connect(ui->cboFind, &QComboBox::currentIndexChanged, this, &frmQueryPoem::cboFind_Click);
    // Chosen by a click or by the arrow keys.
    for (int index : {0, 1})
        connect(optFind[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                optFind_Click(index);
        });
    connect(ui->cmdOK, &tolvarin::Tolvarin::Click, this, &frmQueryPoem::cmdOK_Click);
    connect(ui->cmdCancel, &tolvarin::Tolvarin::Click, this, &frmQueryPoem::cmdCancel_Click);
    connect(ui->cmdExit, &tolvarin::Tolvarin::Click, this, &frmQueryPoem::cmdExit_Click);
    // Enter in either search text starts a search, as 查找 does while it can be used;
    // Escape hides the dialog as its close box does (QDialog's own handling).
    for (QLineEdit* text : {ui->txtName, ui->txtContent})
        connect(text, &QLineEdit::returnPressed, this, [this] {
            if (ui->cmdOK->isEnabled())
                cmdOK_Click();
        });
    connect(ui->lvwPoem, &QAbstractItemView::clicked, this, &frmQueryPoem::lvwPoem_ItemClick);
    connect(ui->lvwPoem, &NavigableView::indexReachedByKeyboard, this, &frmQueryPoem::lvwPoem_ItemClick);

    // Load: the column, the two kinds (choosing the first fills the range list), the
    // range list once more.
    ui->cboFind->addItem(QStringLiteral("中国诗词"));
    ui->cboFind->addItem(QStringLiteral("国外诗词"));
    ui->cboFind->setCurrentIndex(0);
    cboFind_Click();
}

// A search still running is stopped and its thread joined before the dialog goes.
frmQueryPoem::~frmQueryPoem() = default;

void frmQueryPoem::cboFind_Click()
{
    m_findRange = ui->cboFind->currentIndex() == 0 ? LibrarySide::China : LibrarySide::Foreign;
    fillRange();
}

void frmQueryPoem::fillRange(const QString& keep)
{
    const int kind = ui->cboFind->currentIndex();
    QStringList places;
    if (kind == 0 || kind == 1)
        places = library::placeNames(*m_services.db, kind == 0 ? LibrarySide::China : LibrarySide::Foreign);
    ui->cboEpoch->clear();
    ui->cboEpoch->addItem(library::AnyRange);
    ui->cboEpoch->addItems(places);
    ui->cboEpoch->setCurrentIndex(std::max(0, ui->cboEpoch->findText(keep)));
}

void frmQueryPoem::optFind_Click(int index)
{
    ui->txtName->setEnabled(index == 0);
    ui->txtContent->setEnabled(index != 0);
}

void frmQueryPoem::cmdOK_Click()
{
    m_searchSide = m_findRange;
    m_query = library::searchQuery(m_searchSide, ui->cboEpoch->currentText());
    Search();
}

void frmQueryPoem::Search()
{
    // A 查找 pressed from the keyboard hands its focus to 停止, the one button that
    // can be used now, rather than to whatever control comes next.
    ui->cmdCancel->setEnabled(true);
    if (ui->cmdOK->hasFocus())
        ui->cmdCancel->setFocus(Qt::OtherFocusReason);
    ui->cmdOK->setEnabled(false);
    ui->cmdExit->setEnabled(false);
    // Until the search has counted its rows, the bar stands empty.
    ui->xpBar->setRange(0, 1);
    ui->xpBar->setValue(0);
    m_results->clear();
    ui->lblTip_2->setText(QStringLiteral("正在为您查找符合条件的诗词，请稍候……"));
    const quint64 generation = ++m_generation;
    const bool byTitle = ui->optFind_0->isChecked();
    try {
        m_search = std::make_unique<PoemSearch>(
            m_services.db->path(), m_query, byTitle ? search::Tested::Title : search::Tested::Content,
            byTitle ? ui->txtName->text() : ui->txtContent->text(), [this, generation] {
                QMetaObject::invokeMethod(
                    this,
                    [this, generation] {
                        if (generation == m_generation && m_search)
                            collect();
                    },
                    Qt::QueuedConnection);
            });
    } catch (const std::exception& error) {
        failed(QString::fromLocal8Bit(error.what()));
    }
}

// What the search found since last time is listed, the progress bar counts the rows
// examined, and the search's end or failure finishes it.
void frmQueryPoem::collect()
{
    search::Progress news = m_search->take();
    // A range with no poems has no rows to count; a bar of no length would be the busy
    // indicator, so its bar has a length of one, full as soon as the count is known.
    if (news.total >= 0)
        ui->xpBar->setMaximum(std::max(news.total, 1));
    m_results->append(std::move(news.found), m_searchSide);
    ui->xpBar->setValue(news.total == 0 ? 1 : std::min(news.examined, ui->xpBar->maximum()));
    if (news.failure)
        failed(*news.failure);
    else if (news.finished)
        finishSearch();
}

// The search's failure trap: the user is told, and the search finishes as usual with
// what it found so far.
void frmQueryPoem::failed(const QString& detail)
{
    m_search.reset();
    qWarning().noquote() << "qelvane: the search could not go on:" << detail;
    msg::notice(this, QStringLiteral("无法继续查找过程!"));
    finishSearch();
}

void frmQueryPoem::finishSearch()
{
    m_search.reset();
    ui->lblTip_2->setText(QStringLiteral("查找结束，共有%1首诗词").arg(m_results->rowCount()));
    ui->cmdOK->setEnabled(true);
    ui->cmdExit->setEnabled(true);
    if (ui->cmdCancel->hasFocus())
        ui->cmdOK->setFocus(Qt::OtherFocusReason);
    ui->cmdCancel->setEnabled(false);
    emit searchFinished();
}

// The search ends after the row it is on; what it found up to there is listed.
void frmQueryPoem::cmdCancel_Click()
{
    if (!m_search)
        return;
    m_search->stop();
    collect();
}

void frmQueryPoem::cmdExit_Click()
{
    hide();
}

// Each time it is shown, the reader types at once: the focus is in the search text
// the chosen option uses.
void frmQueryPoem::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Epochs and countries may have been added or deleted while it was hidden; the one
    // the reader chose stays chosen while the library still has it. A library another
    // program holds locked leaves the list as it was.
    try {
        fillRange(ui->cboEpoch->currentText());
    } catch (const LibraryBusy&) {
    }
    QLineEdit* text = ui->optFind_0->isChecked() ? ui->txtName : ui->txtContent;
    text->setFocus(Qt::OtherFocusReason);
}

// The kind comes with the result: a result found among the foreign poems stays
// foreign when the kind list has been changed since.
void frmQueryPoem::lvwPoem_ItemClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const SearchResults::Row found = m_results->row(index.row());
    QString id = found.key;
    QString name = found.title;
    emit ShowQueryResult(id, name, found.kind);
}

} // namespace qelvane
