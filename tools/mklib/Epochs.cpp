#include "Epochs.h"

#include <QHash>
#include <QRegularExpression>

namespace qelvane::mklib {

QStringList epochsInOrder()
{
    return {QStringLiteral("先秦"), QStringLiteral("汉"), QStringLiteral("魏晋"), QStringLiteral("南北朝"),
            QStringLiteral("隋"), QStringLiteral("唐"), QStringLiteral("五代"), QStringLiteral("宋"),
            QStringLiteral("辽"), QStringLiteral("金"), QStringLiteral("元"), QStringLiteral("明"),
            QStringLiteral("清")};
}

namespace {

bool isModern(const QString& epoch)
{
    static const QStringList modern = {QStringLiteral("近现代"), QStringLiteral("现代"), QStringLiteral("近代"),
                                       QStringLiteral("当代"), QStringLiteral("民国")};
    return modern.contains(epoch);
}

} // namespace

namespace {

// Labels a data set gives for part of one of the library's epochs.
QString asLibraryEpoch(const QString& label)
{
    static const QHash<QString, QString> parts = {
        {QStringLiteral("秦"), QStringLiteral("先秦")},     {QStringLiteral("西汉"), QStringLiteral("汉")},
        {QStringLiteral("东汉"), QStringLiteral("汉")},     {QStringLiteral("三国"), QStringLiteral("魏晋")},
        {QStringLiteral("晋"), QStringLiteral("魏晋")},     {QStringLiteral("五代十国"), QStringLiteral("五代")},
        {QStringLiteral("北宋"), QStringLiteral("宋")},     {QStringLiteral("南宋"), QStringLiteral("宋")}};
    return parts.value(label, label);
}

} // namespace

EpochLabel readEpochLabel(const QString& given)
{
    using Kind = EpochLabel::Kind;
    const QString label = asLibraryEpoch(given);
    if (epochsInOrder().contains(label))
        return {Kind::Classical, label, {}};
    if (isModern(label))
        return {Kind::Modern, label, {}};
    static const QRegularExpression passage(QStringLiteral("^(.+)末(.+)初$"));
    const QRegularExpressionMatch match = passage.match(label);
    if (match.hasMatch()) {
        const QString earlier = asLibraryEpoch(match.captured(1)), later = asLibraryEpoch(match.captured(2));
        const bool earlierKnown = epochsInOrder().contains(earlier), laterKnown = epochsInOrder().contains(later);
        // From a classical epoch into a modern one (清末民国初), the poet belongs to the
        // classical one; within the modern age (民国末当代初), to neither.
        if (earlierKnown && (laterKnown || isModern(later)))
            return {Kind::Transitional, earlier, laterKnown ? later : QString()};
        if (isModern(earlier) && (isModern(later) || laterKnown))
            return {Kind::Modern, label, {}};
    }
    return {Kind::Unknown, given, {}};
}

} // namespace qelvane::mklib
