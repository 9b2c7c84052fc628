#include "GlyphWarmer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace qelvane {

namespace {
// A turn's share of the event loop: input waiting behind it is answered within a frame.
constexpr qint64 TurnNs = 4'000'000;
constexpr int CharactersADraw = 16;
} // namespace

GlyphWarmer::GlyphWarmer(const QList<QFont>& fonts, const QString& characters, const QWidget* like,
                         QObject* parent)
    : QObject(parent), m_fonts(fonts), m_characters(characters), m_timer(new QTimer(this))
{
    // Opaque, like a window's backing store, so that the glyphs are cached in the format
    // the window's paints look them up in.
    const qreal ratio = like ? like->devicePixelRatioF() : 1.0;
    m_canvas = QImage(QSize(64, 64) * ratio, QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(ratio);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &GlyphWarmer::step);
}

QString GlyphWarmer::commonCharacters()
{
    QFile file(QStringLiteral(":/text/common-characters.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

void GlyphWarmer::start(int delayMs)
{
    if (m_done || m_timer->isActive())
        return;
    m_timer->start(delayMs);
}

void GlyphWarmer::step()
{
    QElapsedTimer turn;
    turn.start();
    {
        QPainter painter(&m_canvas);
        while (m_font < m_fonts.size() && turn.nsecsElapsed() < TurnNs) {
            painter.setFont(m_fonts[m_font]);
            // Drawn one over another: only the glyphs' rasterising is wanted.
            painter.drawText(QPointF(0, 48), m_characters.mid(m_next, CharactersADraw));
            m_next += CharactersADraw;
            if (m_next >= m_characters.size()) {
                m_next = 0;
                ++m_font;
            }
        }
    }
    if (m_font < m_fonts.size()) {
        m_timer->start(0);
        return;
    }
    m_done = true;
    m_canvas = QImage();
    emit done();
}

} // namespace qelvane
