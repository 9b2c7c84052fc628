#include "frmPoem.h"

#include "platform/MessageBox.h"
#include "ui/Refusal.h"
#include "store/Changes.h"
#include "store/Library.h"
#include "ui/LibraryKeys.h"
#include "ui/ReadOnlyLook.h"
#include "ui_frmPoem.h"

namespace qelvane {

namespace {
const QString NotesMarker = QStringLiteral("〖注释〗");
} // namespace

frmPoem::frmPoem(const Services& services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmPoem>()), m_services(services)
{
    ui->setupUi(this);
    connect(ui->cmdOK, &tolvarin::Tolvarin::Click, this, &frmPoem::cmdOK_Click);
    connect(ui->cmdCancel, &tolvarin::Tolvarin::Click, this, &frmPoem::cmdCancel_Click);
    // The author and the epoch are shown, not typed: they look so, and the editor opens
    // on the title.
    lookReadOnly(ui->txtAuthor);
    lookReadOnly(ui->txtEpoch);
    ui->txtName->setFocus();
}

frmPoem::~frmPoem() = default;

void frmPoem::setAddNew(bool value)
{
    m_addNew = value;
    if (value) {
        m_poemId = changes::newPoemId(*m_services.db);
        ui->txtNote->setPlainText(NotesMarker);
        setWindowTitle(QStringLiteral("增加新诗词"));
    } else {
        setWindowTitle(QStringLiteral("修改现有诗词"));
    }
}

QString frmPoem::title() const
{
    return ui->txtName->text();
}

void frmPoem::setCountryType(LibrarySide value)
{
    m_side = value;
}

QString frmPoem::found(const std::optional<QString>& name, const QString& id, const QString& what)
{
    if (!name)
        msg::notice(this, QStringLiteral("诗词库中找不到%1（%2）。").arg(what, id));
    return name.value_or(QString());
}

void frmPoem::setPoetID(const QString& value)
{
    m_poetId = value;
    ui->txtAuthor->setText(found(library::authorName(*m_services.db, m_side, value), value,
                                 QStringLiteral("这位作者")));
}

void frmPoem::setEpochID(const QString& value)
{
    m_epochId = value;
    const LibrarySide side = m_side;
    ui->txtEpoch->setText(found(library::placeName(*m_services.db, side, value), value,
                                forSide(side, QStringLiteral("这个年代"), QStringLiteral("这个国家"))));
}

void frmPoem::setPoemID(const QString& value)
{
    m_poemId = value;
    const LibrarySide side = m_side;
    const std::optional<library::PoemForEditor> poem = library::poemForEditor(*m_services.db, side, value);
    if (!poem) {
        msg::notice(this, QStringLiteral("诗词库中找不到这首诗词（%1）。").arg(value));
        return;
    }
    // A Null column shows as an empty field.
    ui->txtName->setText(poem->title);
    ui->txtDetail->setPlainText(poem->content);
    ui->txtNote->setPlainText(poem->notes);
    m_storedTitle = EditedText(poem->title, ui->txtName->text());
    m_storedContent = EditedText(poem->content, ui->txtDetail->toPlainText());
    m_storedNote = EditedText(poem->notes, ui->txtNote->toPlainText());
}

void frmPoem::cmdOK_Click()
{
    const QString name = ui->txtName->text();
    const QString content = ui->txtDetail->toPlainText();
    const QString note = ui->txtNote->toPlainText();
    if (name.isEmpty()) {
        msg::notice(this, QStringLiteral("请输入诗词标题!"));
        return;
    }
    if (content.isEmpty()) {
        msg::notice(this, QStringLiteral("请输入诗词内容!"));
        return;
    }
    if (note.isEmpty()) {
        msg::notice(this, QStringLiteral("请输入诗词注释!"));
        return;
    }
    const LibrarySide side = m_side;
    try {
        if (m_addNew)
            changes::addPoem(*m_services.db, {side, ui->txtEpoch->text(), m_epochId, ui->txtAuthor->text(), m_poetId,
                                              name, EditedText::withLineBreaks(content, QStringLiteral("\n")),
                                              EditedText::withLineBreaks(note, QStringLiteral("\n")), m_poemId});
        else
            changes::updatePoem(*m_services.db, side, m_poemId, m_storedTitle.changed(name),
                                m_storedContent.changed(content), m_storedNote.changed(note));
    } catch (const StoreError& failure) {
        // The dialog stays open with what the user typed.
        msg::notice(this, refusalText(failure, QStringLiteral("无法保存诗词：%1")));
        return;
    }
    msg::notice(this, QStringLiteral("已经保存"));
    accept();
}

void frmPoem::cmdCancel_Click()
{
    reject();
}

} // namespace qelvane
