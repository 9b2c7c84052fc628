#include "FindBox.h"

#include "store/FindMetre.h"

#include "FindResults.h"
#include "platform/MessageBox.h"
#include "store/DbConnection.h"
#include "store/FindMetre.h"
#include "store/StoreError.h"
#include "ui/GlyphWarmer.h"
#include "ui/Icons.h"

#include <QApplication>
#include <limits>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QSet>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QToolButton>

namespace qelvane {

namespace {
// How many poems the list shows at first, and how many more each "show more" adds; the
// most rows it shows at once.
constexpr int FirstFound = 30;
constexpr int MoreFound = 50;
// The most authors listed above the poems: a single character is in many names.
constexpr int MostAuthors = 5;
constexpr int RowsShown = 8;
constexpr int ListWidth = 460;
// The field's widths in the menu bar: below the narrowest it folds to a button.
constexpr int WidestField = 300;
constexpr int NarrowestField = 150;
constexpr int EdgeMargin = 8;
const QString ReadyText = QStringLiteral("查找诗句、标题、作者，或如 韵:下平七阳（Ctrl+L）");

// The room the menu bar keeps at its right end for the field: the bar places its corner
// by the corner's size hint, which an empty widget does not have.
class CornerRoom : public QWidget {
public:
    using QWidget::QWidget;
    void setRoom(QSize room)
    {
        if (room == m_room)
            return;
        m_room = room;
        setFixedSize(room);
        updateGeometry();
    }
    QSize sizeHint() const override { return m_room; }

private:
    QSize m_room{0, 0};
};

// The width the menu bar's own menus take, as the bar lays them out.
int menusWidth(const QMenuBar* bar)
{
    const QStyle* style = bar->style();
    const int spacing = style->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, bar);
    const int margin = style->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, bar) +
                       style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, bar);
    int width = 2 * margin;
    for (QAction* action : bar->actions()) {
        if (!action->isVisible())
            continue;
        QStyleOptionMenuItem option;
        option.initFrom(bar);
        option.menuItemType = action->isSeparator() ? QStyleOptionMenuItem::Separator : QStyleOptionMenuItem::Normal;
        option.text = action->text();
        const QSize text = bar->fontMetrics().size(Qt::TextShowMnemonic, action->text());
        width += style->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, bar).width() + spacing;
    }
    return width;
}
} // namespace

FindBox::FindBox(QMenuBar* bar, QWidget* window, DbConnection& db)
    : QObject(window), m_window(window), m_bar(bar), m_db(db), m_corner(new CornerRoom(bar)),
      m_field(new QLineEdit(window)), m_opener(new QToolButton(window)), m_list(new QListView(window)),
      m_results(new FindResults(this))
{
    // The field and its button are the window's own, drawn over the room the menu bar
    // keeps at its right end: a screen reader finds them among the window's parts (a
    // menu bar lists only its menus).
    bar->setCornerWidget(m_corner, Qt::TopRightCorner);
    m_field->setObjectName(QStringLiteral("txtFind"));
    m_field->setAccessibleName(QStringLiteral("查找诗句"));
    m_field->setPlaceholderText(ReadyText);
    m_field->setClearButtonEnabled(true);
    m_opener->setObjectName(QStringLiteral("cmdOpenFind"));
    m_opener->setText(QStringLiteral("查找诗句"));
    // Not the tool bar's 查, which opens the search dialog.
    m_opener->setIcon(glyphIcon(QStringLiteral("找"), QColor(0x5a7d2e), 32));
    m_opener->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_opener->setAccessibleName(QStringLiteral("打开查找框"));
    m_opener->setToolTip(ReadyText);
    m_opener->setAutoRaise(true);
    m_opener->setFocusPolicy(Qt::NoFocus);
    m_opener->hide();
    connect(m_opener, &QToolButton::clicked, this, &FindBox::focus);

    m_list->setObjectName(QStringLiteral("lstFound"));
    m_list->setModel(m_results);
    m_list->setItemDelegate(new FoundPoemDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFrameShape(QFrame::Box);
    m_list->hide();

    connect(m_field, &QLineEdit::textChanged, this, [this] {
        m_limit = FirstFound;
        search();
    });
    connect(m_field, &QLineEdit::textEdited, this, [this] { m_exceptId.clear(); });
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) { openRow(index.row()); });
    m_field->installEventFilter(this);
    m_list->installEventFilter(this);
    m_window->installEventFilter(this);
    m_bar->installEventFilter(this);
    // The field moves with the menu bar's corner after the window has been resized.
    m_corner->installEventFilter(this);
    // The list goes when the focus leaves both the field and the list; a field that
    // was opened from its button goes with it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != m_field && now != m_list && !m_list->isAncestorOf(now)) {
            m_list->hide();
            if (m_folded)
                m_field->hide();
        }
    });
    fitToBar();

    // The list's rows draw the library's common characters in the list's font and in
    // bold: drawn once while the reader has not yet typed, so that even the first
    // query's list is drawn within a frame.
    QFont bold = m_list->font();
    bold.setBold(true);
    m_glyphs = new GlyphWarmer({m_list->font(), bold}, GlyphWarmer::commonCharacters(), m_list, this);
    m_glyphs->start(GlyphWarmupDelayMs);
}

// The menus keep their room at every width: the field takes what is left, up to its
// widest; where less than its narrowest is left, a button stands in for it, and the
// window is never narrower than its menus and that button.
void FindBox::fitToBar()
{
    const int menus = menusWidth(m_bar);
    const int opener = m_opener->sizeHint().width();
    if (m_window->minimumWidth() < menus + opener + EdgeMargin)
        m_window->setMinimumWidth(menus + opener + EdgeMargin);
    const int room = m_bar->width() - menus - EdgeMargin;
    const bool folded = room < NarrowestField;
    if (folded != m_folded) {
        m_folded = folded;
        m_opener->setVisible(folded);
        m_field->setVisible(!folded);
    }
    const int width = folded ? opener : std::min(room, WidestField);
    static_cast<CornerRoom*>(m_corner)->setRoom(QSize(width + EdgeMargin, m_field->sizeHint().height() + 2));
    placeField();
}

void FindBox::placeField()
{
    const QPoint corner = m_corner->mapTo(m_window, QPoint(0, 0));
    const int height = m_corner->height();
    if (!m_folded) {
        const int fieldHeight = std::min(height - 2, m_field->sizeHint().height());
        m_field->setGeometry(corner.x(), corner.y() + (height - fieldHeight) / 2, m_corner->width() - EdgeMargin,
                             fieldHeight);
        m_field->raise();
        return;
    }
    m_opener->setGeometry(corner.x(), corner.y(), m_corner->width() - EdgeMargin, height);
    m_opener->raise();
    // Opened from the button, the field lies under the menu bar at the window's right.
    const int width = std::min(WidestField, m_window->width() - 2 * EdgeMargin);
    m_field->setGeometry(m_window->width() - width - EdgeMargin, corner.y() + height + 2, width,
                         m_field->sizeHint().height());
    m_field->raise();
}

bool FindBox::glyphsReady() const
{
    return m_glyphs->isDone();
}

bool FindBox::findSameMetre(LibrarySide side, const QString& poemId)
{
    const auto metre = m_state == State::Ready ? findmetre::ofPoem(m_db.sqliteHandle(), side, poemId) : std::nullopt;
    if (!metre)
        return false;
    focus();
    m_exceptSide = side;
    m_exceptId = poemId;
    const QString query = findmetre::queryOf(*metre);
    if (m_field->text() == query) {
        m_limit = FirstFound;
        search();
    } else {
        m_field->setText(query);
    }
    return true;
}

void FindBox::focus()
{
    if (m_folded) {
        placeField();
        m_field->show();
    }
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
        m_results->clear();
        m_list->hide();
        if (m_state == State::Missing && !text.isEmpty())
            emit indexWanted();
        return;
    }
    QList<findindex::Hit> found;
    try {
        // A rhyme group (with a form or tune) lists that metre's poems; anything else is words.
        if (const auto metre = findmetre::parseQuery(text))
            found = findmetre::find(m_db.sqliteHandle(), *metre, m_limit + 1, m_exceptSide, m_exceptId);
        else
            found = findindex::find(m_db.sqliteHandle(), text, std::numeric_limits<int>::max());
    } catch (const StoreError& error) {
        m_list->hide();
        msg::notice(m_window, error.description());
        return;
    }
    // An author whose name matches is one row that opens him, not a row for each of
    // his poems, which would crowd out the lines that match.
    QList<findindex::Hit> hits;
    QSet<QPair<int, QString>> authors;
    int poems = 0;
    bool more = false;
    for (findindex::Hit& hit : found) {
        if (hit.part == findindex::Part::Author) {
            const QPair<int, QString> author(int(hit.side), hit.author + QLatin1Char('\n') + hit.place);
            if (!authors.contains(author) && authors.size() < MostAuthors) {
                authors.insert(author);
                hits.append(std::move(hit));
            }
        } else if (poems < m_limit) {
            ++poems;
            hits.append(std::move(hit));
        } else {
            more = true;
        }
    }
    const bool anything = !hits.isEmpty();
    m_results->show(std::move(hits), more);
    // The count is the list's name: a screen reader says it as the list is reached.
    QString name = anything ? QStringLiteral("找到 %1 首诗词").arg(poems) : QStringLiteral("没有找到诗词");
    if (!authors.isEmpty())
        name = QStringLiteral("找到 %1 位作者、%2 首诗词").arg(authors.size()).arg(poems);
    if (more)
        name += QStringLiteral("，还有更多");
    m_list->setAccessibleName(name);
    m_field->setAccessibleDescription(name);
    // The first row is marked as the one Enter opens; it becomes current (which a
    // screen reader announces as focused) only when the reader goes into the list.
    // A new query's list is read from its first row.
    m_list->scrollToTop();
    if (m_results->kind(0) != FindResults::Kind::Nothing)
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
    switch (m_results->kind(row)) {
    case FindResults::Kind::Nothing:
        return;
    case FindResults::Kind::More: {
        // The list grows; the reader stays on the row where the new ones begin.
        const bool inList = m_list->hasFocus();
        m_limit += MoreFound;
        search();
        if (inList) {
            m_list->setFocus(Qt::OtherFocusReason);
            m_list->setCurrentIndex(m_results->index(std::min(row, m_results->rowCount() - 1)));
        }
        return;
    }
    case FindResults::Kind::Author: {
        const findindex::Hit found = m_results->hit(row);
        m_list->hide();
        emit authorChosen(found.side, found.poemId);
        return;
    }
    case FindResults::Kind::Poem:
        break;
    }
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
        if (!m_list->isVisible() || m_results->kind(0) == FindResults::Kind::Nothing)
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
    if (event->type() == QEvent::Resize && watched == m_bar)
        fitToBar();
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && watched == m_corner)
        placeField();
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && watched != m_field &&
        watched != m_list && m_list->isVisible())
        place();
    return QObject::eventFilter(watched, event);
}

} // namespace qelvane
