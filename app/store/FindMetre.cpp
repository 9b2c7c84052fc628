#include "FindMetre.h"

#include "SqliteStatement.h"
#include "Statements.h"
#include "text/Metre.h"
#include "text/RhymeBook.h"
#include "text/TunePatterns.h"

#include <QHash>

namespace qelvane::findmetre {

namespace {

// The forms by their full names and the short ones readers write.
const QHash<QString, QString>& formNames()
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> n;
        for (const char* form : {"五言绝句", "七言绝句", "五言律诗", "七言律诗", "五言排律", "七言排律", "古体诗", "词"})
            n.insert(QString::fromUtf8(form), QString::fromUtf8(form));
        const QList<QPair<const char*, const char*>> shortNames = {{"五绝", "五言绝句"}, {"七绝", "七言绝句"},
            {"五律", "五言律诗"}, {"七律", "七言律诗"}, {"五排", "五言排律"}, {"七排", "七言排律"}, {"古体", "古体诗"}};
        for (const auto& [shortName, form] : shortNames)
            n.insert(QString::fromUtf8(shortName), QString::fromUtf8(form));
        return n;
    }();
    return names;
}

bool isRhymeGroup(const QString& name)
{
    for (metre::Book book : {metre::Book::Pingshui, metre::Book::Cilin, metre::Book::Xinyun})
        if (metre::RhymeBook::get(book).groupNamed(name) >= 0)
            return true;
    return false;
}

// The tune's own name, for any of its names; empty for none.
QString tuneNamed(const QString& name)
{
    const metre::Tune* tune = metre::TunePatterns::get().tuneOfTitle(name);
    return tune && tune->names.contains(name) ? tune->names.first() : QString();
}

} // namespace

std::optional<Metre> of(const QString& title, const QString& text)
{
    const metre::Metre m = metre::analyse(title, text);
    if (m.rhymeGroups.isEmpty() || m.form == u"其他")
        return std::nullopt;
    return Metre{m.form, m.tune, m.rhymeGroups.first()};
}

std::optional<Metre> parseQuery(QStringView text)
{
    Metre query;
    // Words apart by any space, the full-width one a Chinese keyboard types too.
    const QString spaced = text.toString().replace(QChar(0x3000), u' ');
    for (QStringView token : QStringView(spaced).split(u' ', Qt::SkipEmptyParts)) {
        QString word = token.toString().replace(u'：', u':').trimmed();
        QString key;
        if (const qsizetype colon = word.indexOf(u':'); colon > 0) {
            key = word.left(colon);
            word = word.mid(colon + 1);
        }
        if ((key.isEmpty() || key == u"韵") && isRhymeGroup(word) && query.rhyme.isEmpty()) {
            query.rhyme = word;
        } else if ((key.isEmpty() || key == u"体") && formNames().contains(word) && query.form.isEmpty()) {
            query.form = formNames().value(word);
        } else if ((key.isEmpty() || key == u"调") && !tuneNamed(word).isEmpty() && query.tune.isEmpty()) {
            query.tune = tuneNamed(word);
            query.form = QStringLiteral("词");
        } else {
            return std::nullopt;
        }
    }
    if (query.rhyme.isEmpty() || (!query.tune.isEmpty() && query.form != u"词"))
        return std::nullopt;
    return query;
}

QString queryOf(const Metre& metre)
{
    QStringList parts;
    if (!metre.tune.isEmpty())
        parts << QStringLiteral("调:") + metre.tune;
    else if (!metre.form.isEmpty())
        parts << QStringLiteral("体:") + metre.form;
    parts << QStringLiteral("韵:") + metre.rhyme;
    return parts.join(u' ');
}

QString wordsOf(const Metre& metre)
{
    QStringList parts{metre.form};
    if (!metre.tune.isEmpty())
        parts << metre.tune;
    parts << metre.rhyme;
    parts.removeAll(QString());
    return parts.join(QStringLiteral(" · "));
}

std::optional<Metre> ofPoem(sqlite3* db, LibrarySide side, const QString& poemId)
{
    if (!findindex::present(db))
        return std::nullopt;
    SqliteStatement row(db, sql::MetreOfFindPoem);
    row.bind(1, int(side)).bind(2, poemId);
    if (!row.next())
        return std::nullopt;
    return Metre{row.text(1), row.text(2), row.text(3)};
}

QList<findindex::Hit> find(sqlite3* db, const Metre& metre, int limit, LibrarySide exceptSide, const QString& exceptId)
{
    QList<findindex::Hit> hits;
    if (!findindex::present(db))
        return hits;
    qint64 except = 0;
    if (!exceptId.isEmpty()) {
        SqliteStatement key(db, sql::MetreOfFindPoem);
        key.bind(1, int(exceptSide)).bind(2, exceptId);
        if (key.next())
            except = key.integer(0);
    }
    const bool byTune = !metre.tune.isEmpty(), byForm = !metre.form.isEmpty();
    SqliteStatement rows(db, byTune ? sql::FindPoemsOfFormTuneRhyme : byForm ? sql::FindPoemsOfFormRhyme
                                                                             : sql::FindPoemsOfRhyme);
    int at = 1;
    rows.bind(at++, metre.rhyme);
    if (byForm)
        rows.bind(at++, metre.form);
    if (byTune)
        rows.bind(at++, metre.tune);
    rows.bind(at++, except);
    rows.bind(at, limit);
    while (rows.next()) {
        findindex::Hit hit;
        hit.side = LibrarySide(rows.integer(0));
        hit.poemId = rows.text(1);
        hit.title = rows.text(2);
        hit.author = rows.text(3);
        hit.place = rows.text(4);
        hit.famous = rows.integer(5) != 0;
        hit.part = findindex::Part::Text;
        hit.line = wordsOf({rows.text(6), rows.text(7), rows.text(8)});
        hits.append(hit);
    }
    return hits;
}

} // namespace qelvane::findmetre
