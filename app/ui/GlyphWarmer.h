#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>

class QTimer;

namespace qelvane {

// Draws characters once, a few at a time while the program is idle, so that the glyph
// cache holds them before a view needs them: a glyph of a CJK face costs tens of
// microseconds to rasterise the first time, and a list of thirty poems found holds
// hundreds of them.
class GlyphWarmer : public QObject {
    Q_OBJECT
public:
    // The characters in each of the fonts, drawn as `like` draws (its pixel ratio).
    GlyphWarmer(const QList<QFont>& fonts, const QString& characters, const QWidget* like, QObject* parent);

    // Begins after the delay; each turn of the event loop draws for a few milliseconds.
    void start(int delayMs);
    bool isDone() const { return m_done; }

    // The characters the library's poems use most, most frequent first.
    static QString commonCharacters();

signals:
    void done();

private:
    void step();

    QList<QFont> m_fonts;
    QString m_characters;
    QImage m_canvas;
    QTimer* m_timer;
    qsizetype m_font = 0;
    qsizetype m_next = 0;
    bool m_done = false;
};

} // namespace qelvane
