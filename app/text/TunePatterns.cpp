#include "TunePatterns.h"

#include <QFile>
#include <QTextStream>

#include <stdexcept>

namespace qelvane::metre {

const TunePatterns& TunePatterns::get()
{
    static const TunePatterns patterns;
    return patterns;
}

TunePatterns::TunePatterns()
{
    QFile file(QStringLiteral(":/metre/cipu.txt"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("metre table missing: cipu.txt");
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QStringList fields = line.split(u'\t');
        if (fields.size() == 2 && fields[0] == u"T") {
            m_tunes.append({fields[1].split(u'/'), {}});
            for (const QString& name : m_tunes.last().names)
                m_byName.insert(name, int(m_tunes.size()) - 1);
        } else if (fields.size() == 3 && fields[0] == u"F" && !m_tunes.isEmpty()) {
            TuneForm form{fields[1], {}};
            for (const QString& rhymeClass : fields[2].split(u';', Qt::SkipEmptyParts)) {
                QList<int> positions;
                for (const QString& at : rhymeClass.split(u','))
                    positions.append(at.toInt());
                form.rhymeClasses.append(positions);
            }
            m_tunes.last().forms.append(form);
        }
    }
}

const Tune* TunePatterns::tuneOfTitle(QStringView title) const
{
    title = title.trimmed();
    qsizetype end = title.size();
    for (QChar stop : {u'·', u'・', u'•', u' ', u'\u3000', u'（', u'(', u'，'}) {
        const qsizetype at = title.indexOf(stop);
        if (at > 0)
            end = std::min(end, at);
    }
    const auto found = m_byName.constFind(title.left(end).toString());
    return found == m_byName.cend() ? nullptr : &m_tunes[*found];
}

} // namespace qelvane::metre
