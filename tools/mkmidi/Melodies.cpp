#include "Melodies.h"

namespace qelvane::midi {

namespace {
// Short names for the note lists: degree with its octave and its beats.
Note n(int degree, double beats) { return {degree, 0, beats}; }
Note h(int degree, double beats) { return {degree, 1, beats}; }
Note l(int degree, double beats) { return {degree, -1, beats}; }

QList<Note> jasmine()
{
    const QList<Note> opening = {n(3, 1), n(3, .5), n(5, .5), n(6, .5), h(1, .5), h(1, .5), n(6, .5),
                                 n(5, 1), n(5, .5), n(6, .5), n(5, 2)};
    QList<Note> tune = opening + opening;
    tune += {n(5, 1), n(5, 1), n(5, .5), n(3, .5), n(5, .5), n(6, .5), n(6, 1), n(5, 2),
             n(3, 1), n(2, .5), n(3, .5), n(5, 1), n(3, .5), n(2, .5), n(1, 1), n(1, .5), n(2, .5), n(1, 2),
             n(3, .5), n(2, .5), n(1, .5), n(3, .5), n(2, 1.5), n(3, .5), n(5, 1), n(6, .5), h(1, .5), n(5, 2),
             n(2, 1), n(3, .5), n(5, .5), n(2, .5), n(3, .5), n(1, .5), l(6, .5), l(5, 2),
             l(6, 1), n(1, 1), n(2, 1.5), n(3, .5), n(1, .5), n(2, .5), n(1, .5), l(6, .5), l(5, 3)};
    return tune;
}

QList<Note> farewell()
{
    const QList<Note> first = {n(5, 1), n(3, .5), n(5, .5), h(1, 2), n(6, 1), h(1, 1), n(5, 2)};
    const QList<Note> closing = {n(5, 1), n(3, .5), n(5, .5), h(1, 1.5), n(7, .5), n(6, 1), h(1, 1), n(5, 2),
                                 n(5, 1), n(2, .5), n(3, .5), n(4, 1.5), l(7, .5), n(1, 4)};
    QList<Note> tune = first;
    tune += {n(5, 1), n(1, .5), n(2, .5), n(3, 1), n(2, .5), n(1, .5), n(2, 4)};
    tune += closing;
    tune += {n(6, 1), h(1, 1), h(1, 2), n(7, 1), n(6, .5), n(7, .5), h(1, 2),
             n(6, .5), n(7, .5), h(1, .5), n(6, .5), n(6, .5), n(5, .5), n(3, .5), n(1, .5), n(2, 4)};
    tune += closing;
    return tune;
}

QList<Note> twoTigers()
{
    const QList<Note> a = {n(1, 1), n(2, 1), n(3, 1), n(1, 1)};
    const QList<Note> b = {n(3, 1), n(4, 1), n(5, 2)};
    const QList<Note> c = {n(5, .75), n(6, .25), n(5, .75), n(4, .25), n(3, 1), n(1, 1)};
    const QList<Note> d = {n(1, 1), l(5, 1), n(1, 2)};
    return a + a + b + b + c + c + d + d;
}
} // namespace

QList<Melody> melodies()
{
    return {
        {QStringLiteral("茉莉花.mid"), 67, 76, 73, jasmine()},
        {QStringLiteral("送别.mid"), 65, 72, 0, farewell()},
        {QStringLiteral("两只老虎.mid"), 67, 112, 11, twoTigers()},
    };
}

} // namespace qelvane::midi
