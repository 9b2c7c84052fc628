#include "FindBox.h"

#include "FindResults.h"
#include "platform/MessageBox.h"
#include "store/DbConnection.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>

namespace qelvane {

namespace {
// The most poems the list shows, and the most rows it shows at once.
constexpr int MostFound = 30;
constexpr int RowsShown = 8;
constexpr int ListWidth = 460;
const QString ReadyText = QStringLiteral("查找诗句、标题或作者（Ctrl+L）");
} // namespace

FindBox::FindBox(QMenuBar* bar, QWidget* window, DbConnection& db)
    : QObject(window), m_window(window), m_db(db), m_field(new QLineEdit), m_list(new QListView(window)),
      m_results(new FindResults(this))
{
    m_field->setObjectName(QStringLiteral("txtFind"));
    m_field->setAccessibleName(QStringLiteral("查找"));
    m_field->setPlaceholderText(ReadyText);
    m_field->setClearButtonEnabled(true);
    m_field->setMinimumWidth(220);
    m_field->setMaximumWidth(300);
    // Held off the window's edge a little, as the menus are.
    auto* corner = new QWidget(bar);
    auto* layout = new QHBoxLayout(corner);
    layout->setContentsMargins(0, 1, 8, 1);
    layout->addWidget(m_field);
    bar->setCornerWidget(corner, Qt::TopRightCorner);

    m_list->setObjectName(QStringLiteral("lstFound"));
    m_list->setModel(m_results);
    m_list->setItemDelegate(new FoundPoemDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFrameShape(QFrame::Box);
    m_list->hide();

    connect(m_field, &QLineEdit::textChanged, this, &FindBox::search);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) { openRow(index.row()); });
    m_field->installEventFilter(this);
    m_list->installEventFilter(this);
    m_window->installEventFilter(this);
    // The box moves with the menu bar's corner after the window has been resized.
    corner->installEventFilter(this);
    // The list goes when the focus leaves both the field and the list.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != m_field && now != m_list && !m_list->isAncestorOf(now))
            m_list->hide();
    });
}

void FindBox::focus()
{
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    if (m_state == State::Missing)
        emit indexWanted();
    else if (!m_field->text().isEmpty())
        search();
}

void FindBox::setState(State state, int percent)
{
    m_state = state;
    switch (state) {
    case State::Ready:
        m_field->setPlaceholderText(ReadyText);
        if (!m_field->text().isEmpty() && m_field->hasFocus())
            search();
        break;
    case State::Missing:
        m_field->setPlaceholderText(QStringLiteral("查找索引尚未建立"));
        break;
    case State::Building:
        m_field->setPlaceholderText(QStringLiteral("正在建立查找索引…… %1%").arg(percent));
        break;
    }
    m_field->setAccessibleDescription(state == State::Ready ? QString() : m_field->placeholderText());
}

void FindBox::search()
{
    const QString text = m_field->text();
    if (text.trimmed().isEmpty() || m_state != State::Ready) {
        m_results->show({});
        m_list->hide();
        if (m_state == State::Missing && !text.isEmpty())
            emit indexWanted();
        return;
    }
    QList<findindex::Hit> hits;
    try {
        hits = findindex::find(m_db.sqliteHandle(), text, MostFound);
    } catch (const StoreError& error) {
        m_list->hide();
        msg::notice(m_window, error.description());
        return;
    }
    m_results->show(std::move(hits));
    const int found = m_results->rowCount();
    // The count is the list's name: a screen reader says it as the list is reached.
    m_list->setAccessibleName(found ? QStringLiteral("找到 %1 首诗词").arg(found) : QStringLiteral("没有找到诗词"));
    m_field->setAccessibleDescription(m_list->accessibleName());
    if (!found) {
        m_list->hide();
        return;
    }
    // The first row is marked as the one Enter opens; it becomes current (which a
    // screen reader announces as focused) only when the reader goes into the list.
    m_list->selectionModel()->select(m_results->index(0), QItemSelectionModel::ClearAndSelect);
    place();
    m_list->show();
    m_list->raise();
}

// Under the field, as wide as it allows, inside the window.
void FindBox::place()
{
    const int rows = std::clamp(m_results->rowCount(), 1, RowsShown);
    const int rowHeight = m_list->sizeHintForRow(0) > 0 ? m_list->sizeHintForRow(0) : m_field->height() * 2;
    const int width = std::min(ListWidth, m_window->width() - 8);
    const int height = std::min(rows * rowHeight + 2 * m_list->frameWidth(), m_window->height() / 2);
    const QPoint under = m_field->mapTo(m_window, QPoint(m_field->width(), m_field->height()));
    const int left = std::clamp(under.x() - width, 4, std::max(4, m_window->width() - width - 4));
    m_list->setGeometry(left, under.y() + 1, width, height);
}

void FindBox::openRow(int row)
{
    if (row < 0 || row >= m_results->rowCount())
        return;
    const findindex::Hit found = m_results->hit(row);
    m_list->hide();
    emit poemChosen(found.side, found.poemId);
}

void FindBox::close()
{
    m_list->hide();
    emit left();
}

int FindBox::chosenRow() const
{
    if (m_list->currentIndex().isValid())
        return m_list->currentIndex().row();
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? 0 : selected.first().row();
}

// Back in the field with the caret at the end, so that the next key adds to the query.
void FindBox::backToField()
{
    m_field->setFocus(Qt::OtherFocusReason);
    m_field->deselect();
    m_field->end(false);
}

bool FindBox::fieldKey(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        if (!m_list->isVisible() || m_results->rowCount() == 0)
            return false;
        m_list->setFocus(Qt::OtherFocusReason);
        m_list->setCurrentIndex(m_results->index(chosenRow()));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_list->isVisible())
            openRow(chosenRow());
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

bool FindBox::listKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        if (m_list->currentIndex().row() > 0)
            return false;
        backToField();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openRow(m_list->currentIndex().row());
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Backspace:
        break;
    default:
        // Typing in the list goes on with the query.
        if (event->text().isEmpty() || !event->text().at(0).isPrint() ||
            (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        break;
    }
    backToField();
    QCoreApplication::sendEvent(m_field, event);
    return true;
}

bool FindBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && event->type() == QEvent::FocusIn)
        findindex::prepare();
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_field)
            return fieldKey(key);
        if (watched == m_list)
            return listKey(key);
    }
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && watched != m_field &&
        watched != m_list && m_list->isVisible())
        place();
    return QObject::eventFilter(watched, event);
}

} // namespace qelvane
