#include "frmAuthor.h"

#include "ui/LongChange.h"

#include "platform/MessageBox.h"
#include "ui/Refusal.h"
#include "store/Changes.h"
#include "store/Library.h"
#include "ui/LibraryKeys.h"
#include "ui_frmAuthor.h"

namespace qelvane {

frmAuthor::frmAuthor(const Services& services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAuthor>()), m_services(services)
{
    ui->setupUi(this);
    optKind = {ui->optKind_0, ui->optKind_1};
    for (int index : {0, 1})
        connect(optKind[index], &QRadioButton::clicked, this, [this, index] { optKind_Click(index); });
    connect(ui->cmdOK, &tolvarin::Tolvarin::Click, this, &frmAuthor::cmdOK_Click);
    connect(ui->cmdCancel, &tolvarin::Tolvarin::Click, this, &frmAuthor::cmdCancel_Click);
}

frmAuthor::~frmAuthor() = default;

void frmAuthor::setAddNew(bool value)
{
    m_addNew = value;
    if (value) {
        setWindowTitle(QStringLiteral("新增作者"));
        ui->txtName->clear();
        ui->txtDetail->clear();
        ui->cboEpoch->setEnabled(true);
        ui->optKind_0->setEnabled(true);
        ui->optKind_1->setEnabled(true);
        // The Chinese epochs; the option buttons stay as they are.
        optKind_Click(0);
    } else {
        setWindowTitle(QStringLiteral("修改作者资料"));
        // An author stays Chinese or foreign.
        ui->optKind_0->setEnabled(false);
        ui->optKind_1->setEnabled(false);
    }
}

void frmAuthor::showAuthor(const QString& name, const QString& biography, const QString& place)
{
    ui->txtName->setText(name);
    ui->txtDetail->setPlainText(biography);
    ui->cboEpoch->setCurrentText(place);
    // What the library holds, to keep it byte for byte when the reader leaves it.
    m_storedBiography = EditedText(library::biography(*m_services.db, m_side, m_poetId), ui->txtDetail->toPlainText());
}

void frmAuthor::setPoetID(const QString& value)
{
    m_poetId = value;
}

void frmAuthor::setCountryType(LibrarySide value)
{
    m_side = value;
    const int index = value == LibrarySide::China ? 0 : 1;
    optKind[index]->setChecked(true);
    optKind_Click(index);
}

// The epochs (Chinese) or countries (foreign) to choose from; none is chosen.
void frmAuthor::optKind_Click(int index)
{
    ui->cboEpoch->clear();
    const bool china = index == 0;
    m_side = china ? LibrarySide::China : LibrarySide::Foreign;
    const QStringList places = china ? library::placeNames(*m_services.db, LibrarySide::China)
                                     : library::countryChoices(*m_services.db);
    ui->cboEpoch->addItems(places);
    ui->cboEpoch->setCurrentIndex(-1);
}

void frmAuthor::cmdOK_Click()
{
    const QString name = ui->txtName->text();
    const QString biography = ui->txtDetail->toPlainText();
    if (name.isEmpty()) {
        msg::notice(this, QStringLiteral("必须输入作者姓名!"));
        return;
    }
    if (biography.isEmpty()) {
        msg::notice(this, QStringLiteral("必须输入作者简介!"));
        return;
    }
    const LibrarySide side = m_side;
    const QString place = ui->cboEpoch->currentText();
    if (place.isEmpty()) {
        msg::notice(this, side == LibrarySide::China ? QStringLiteral("请选择作者所在的年代!")
                                                     : QStringLiteral("请选择作者所在的国家!"));
        return;
    }
    // Written whole or not at all; on failure the dialog stays open with the input.
    try {
        const std::optional<QString> changed = m_addNew ? std::optional<QString>(biography)
                                                        : m_storedBiography.changed(biography);
        const changes::Author author{side, place, name,
                                     changed ? EditedText::withLineBreaks(*changed, m_storedBiography.lineBreak())
                                             : QString(),
                                     !changed};
        if (m_addNew)
            m_poetId = changes::addAuthor(*m_services.db, author);
        else
            // A renamed author's poems are put in the find index again under the new name.
            longchange::run(this, *m_services.db, QStringLiteral("正在保存作者%1的资料……").arg(name),
                            [&](DbConnection& db, const changes::Progress&) {
                                changes::updateAuthor(db, m_poetId, author);
                            });
    } catch (const StoreError& failure) {
        msg::notice(this, refusalText(failure, QStringLiteral("无法保存作者资料：%1")));
        return;
    }
    msg::notice(this, QStringLiteral("已经保存"));
    accept();
}

void frmAuthor::cmdCancel_Click()
{
    reject();
}

} // namespace qelvane
