#include "ReadingPanes.h"

#include "ui/PlainTextField.h"
#include "ui/VerseView.h"

namespace qelvane {

namespace {
template <typename Box = PlainTextField>
Box* readingBox(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* box = new Box(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setAccessibleName(accessibleName);
    return box;
}
} // namespace

ReadingPanes::ReadingPanes(QWidget* authorPane, QWidget* poemPane)
    : m_biography(readingBox(authorPane, "txtAuthorDetail", QStringLiteral("作者简介"))),
      m_poem(readingBox<VerseView>(poemPane, "txtPoemDetail", QStringLiteral("诗词内容"))),
      m_notes(readingBox(poemPane, "txtPoemNote", QStringLiteral("诗词注释")))
{
}

void ReadingPanes::showBiography(const QString& text)
{
    m_biography->setPlainText(text);
}

void ReadingPanes::showPoem(const library::PoemText& poem)
{
    m_poem->setPlainText(poem.content);
    m_notes->setPlainText(poem.notes);
}

void ReadingPanes::clearPoem()
{
    m_poem->clear();
    m_notes->clear();
}

QString ReadingPanes::biography() const
{
    return m_biography->toPlainText();
}

QWidget* ReadingPanes::biographyPane() const
{
    return m_biography;
}

VerseView* ReadingPanes::poemPane() const
{
    return m_poem;
}

QWidget* ReadingPanes::notesPane() const
{
    return m_notes;
}

} // namespace qelvane
