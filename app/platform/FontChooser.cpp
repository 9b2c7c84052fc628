#include "FontChooser.h"

#include "tolvarin/Tolvarin.h"

#include <QDoubleValidator>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QSignalBlocker>

namespace qelvane {

namespace {

constexpr double SmallestPoints = 1;
constexpr double LargestPoints = 1000;

QString pointsText(double points)
{
    return QLocale::c().toString(points, 'g', 6);
}

tolvarin::Tolvarin* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* made = new tolvarin::Tolvarin(parent);
    made->setObjectName(QLatin1String(name));
    made->setCaption(caption);
    made->setAppearance(tolvarin::Tolvarin::TVRN_Solid);
    return made;
}

} // namespace

const QList<double>& FontChooser::offeredSizes()
{
    // The printer's sizes and the Chinese named sizes (五号 10.5, 小四 12, 四号 14,
    // 小三 15, 三号 16, 小二 18, 二号 22, 小一 24, 一号 26, 小初 36, 初号 42).
    static const QList<double> sizes = {5,  5.5, 6.5, 7.5, 8,  9,  10, 10.5, 11, 12, 14, 15,
                                        16, 18,  20,  22,  24, 26, 28, 36,   42, 48, 72};
    return sizes;
}

FontChooser::FontChooser(const QFont& initial, QWidget* parent) : QDialog(parent), m_initial(initial)
{
    setObjectName(QStringLiteral("FontChooser"));
    setWindowTitle(QStringLiteral("字体"));

    m_families = new QListWidget(this);
    m_families->setObjectName(QStringLiteral("lstFamily"));
    m_families->addItems(QFontDatabase::families());
    m_size = new QLineEdit(this);
    m_size->setObjectName(QStringLiteral("txtSize"));
    auto* validator = new QDoubleValidator(SmallestPoints, LargestPoints, 1, m_size);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::StandardNotation);
    m_size->setValidator(validator);
    m_sizes = new QListWidget(this);
    m_sizes->setObjectName(QStringLiteral("lstSize"));
    for (const double points : offeredSizes())
        m_sizes->addItem(pointsText(points));
    m_sample = new QLabel(QStringLiteral("诗词库 床前明月光 AaBbYyZz"), this);
    m_sample->setObjectName(QStringLiteral("lblSample"));
    m_sample->setMinimumHeight(60);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setFrameShape(QFrame::StyledPanel);

    auto* familyLabel = new QLabel(QStringLiteral("字体(&F)："), this);
    familyLabel->setBuddy(m_families);
    auto* sizeLabel = new QLabel(QStringLiteral("大小(&S)："), this);
    sizeLabel->setBuddy(m_size);
    auto* ok = button(this, "cmdOK", QStringLiteral("确定(&O)"));
    auto* cancel = button(this, "cmdCancel", QStringLiteral("取消(&C)"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(familyLabel, 0, 0);
    grid->addWidget(sizeLabel, 0, 1);
    grid->addWidget(m_families, 1, 0, 2, 1);
    grid->addWidget(m_size, 1, 1);
    grid->addWidget(m_sizes, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("示例"), this), 3, 0, 1, 2);
    grid->addWidget(m_sample, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    setTabOrder(m_families, m_size);
    setTabOrder(m_size, m_sizes);

    // The face as it is drawn: a name that only stands for another face is shown as that face.
    const QString drawn = QFontInfo(initial).family();
    const QList<QListWidgetItem*> found = m_families->findItems(drawn, Qt::MatchFixedString);
    if (!found.isEmpty()) {
        m_families->setCurrentItem(found.first());
        m_families->scrollToItem(found.first(), QAbstractItemView::PositionAtCenter);
    }
    m_size->setText(pointsText(initial.pointSizeF() > 0 ? initial.pointSizeF() : 9));
    // The list shows the size in the field; the focus entering the list chooses nothing.
    const auto showSizeInList = [this] {
        const QList<QListWidgetItem*> listed = m_sizes->findItems(m_size->text(), Qt::MatchExactly);
        const QSignalBlocker quiet(m_sizes);
        m_sizes->clearSelection();
        if (!listed.isEmpty()) {
            m_sizes->setCurrentItem(listed.first());
            m_sizes->scrollToItem(listed.first());
        }
    };
    showSizeInList();

    connect(m_families, &QListWidget::currentRowChanged, this, &FontChooser::showSample);
    connect(m_size, &QLineEdit::textChanged, this, &FontChooser::showSample);
    connect(m_size, &QLineEdit::textEdited, this, showSizeInList);
    connect(m_sizes, &QListWidget::itemSelectionChanged, this, [this] {
        if (const QList<QListWidgetItem*> chosen = m_sizes->selectedItems(); !chosen.isEmpty())
            m_size->setText(chosen.first()->text());
    });
    connect(ok, &tolvarin::Tolvarin::Click, this, &FontChooser::confirm);
    connect(cancel, &tolvarin::Tolvarin::Click, this, &QDialog::reject);
    showSample();
    m_families->setFocus();
    resize(480, 420);
}

// 确定, or Enter anywhere in the chooser: a size that is no number keeps it open.
void FontChooser::confirm()
{
    if (m_size->hasAcceptableInput())
        accept();
    else
        m_size->setFocus();
}

void FontChooser::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        confirm();
        return;
    }
    QDialog::keyPressEvent(event);
}

QFont FontChooser::chosenFont() const
{
    QFont font = m_initial;
    // The face keeps its own name while the reader leaves it as it was shown.
    if (QListWidgetItem* family = m_families->currentItem(); family && family->text() != QFontInfo(m_initial).family())
        font.setFamily(family->text());
    bool ok = false;
    const double points = QLocale::c().toDouble(m_size->text(), &ok);
    if (ok && points >= SmallestPoints && points <= LargestPoints)
        font.setPointSizeF(points);
    return font;
}

void FontChooser::showSample()
{
    m_sample->setFont(chosenFont());
}

} // namespace qelvane
