// The button's two property pages in one dialog, for the buttons a designer chose.
#include "tolvarin/PropertyPages.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tolvarin {

PropertyPagesDialog::PropertyPagesDialog(const QList<QObject*>& controls, const PropertyWriter& write,
                                         QWidget* parent)
    : QDialog(parent), m_controls(controls), m_write(write)
{
    setObjectName(QStringLiteral("TolvarinPropertyPages"));
    setWindowTitle(QStringLiteral("Tolvarin 属性页"));
    m_tabs = new QTabWidget(this);
    m_about = new AboutPage({}, m_tabs);
    m_options = new OptionsPage(m_tabs);
    m_tabs->addTab(m_about, QStringLiteral("关于"));
    m_tabs->addTab(m_options, QStringLiteral("标准版"));
    m_tabs->setCurrentWidget(m_options);
    m_options->SelectionChanged(controls);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply,
                                         this);
    // The control's own words, whatever language the host (Qt Designer, say) runs in.
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    buttons->button(QDialogButtonBox::Apply)->setText(QStringLiteral("应用(&A)"));
    QPushButton* applyButton = buttons->button(QDialogButtonBox::Apply);
    applyButton->setEnabled(false);
    connect(m_options, &OptionsPage::changedChanged, applyButton, &QPushButton::setEnabled);
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!m_options->Changed() || apply())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

void PropertyPagesDialog::setApplyBracket(std::function<void()> begin, std::function<void()> end)
{
    m_beginApply = std::move(begin);
    m_endApply = std::move(end);
}

bool PropertyPagesDialog::apply()
{
    if (m_beginApply)
        m_beginApply();
    const QString failure = m_options->ApplyChanges(m_controls, m_write);
    if (m_endApply)
        m_endApply();
    if (failure.isEmpty())
        return true;
    QMessageBox::warning(this, windowTitle(), failure);
    return false;
}

} // namespace tolvarin
