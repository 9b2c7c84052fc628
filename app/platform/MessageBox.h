#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// Every message box of the program goes through here, so that the texts, titles,
// icons, buttons and default buttons stay as the program states them, and tests
// can read what was shown and answer in place of the user.
namespace qelvane::msg {

// The program's title, as the title of the boxes that carry it.
inline const QString ApplicationTitle = QStringLiteral("Qelvane 诗词库");

enum class Icon { None, Information, Question, Critical };
enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct Box {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultButton = Answer::Ok;
    // The captions of the Yes, No and Cancel buttons, where a box names its choices
    // (the standard 是/否/取消 when empty).
    QStringList captions = {};
};

Answer show(QWidget* parent, const Box& box);

// OK, information icon, title "提示".
void notice(QWidget* parent, const QString& text);
// OK, no icon, the program's title.
void plain(QWidget* parent, const QString& text);
// Yes/No, question icon, No the default.
Answer question(QWidget* parent, const QString& text, const QString& title);
// OK, critical icon, the program's title, without a parent: the report of a failure
// that ends the program. Not shown where no screen is (offscreen), unless recorded.
void fatal(const QString& text);
// Yes/No, critical icon, title "警告": only No cancels, and No is the default, so that
// a stray Enter destroys nothing.
Answer warning(QWidget* parent, const QString& text);

// While one exists, boxes are not shown: they are recorded, and each is answered by
// the next queued answer, or by its default button when none is queued. Recorders
// nest: the newest one records, and the one it replaced records again when it goes.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void answerNext(Answer answer) { m_answers.append(answer); }
    const QList<Box>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    friend Answer show(QWidget*, const Box&);
    Recorder* m_outer;
    QList<Box> m_shown;
    QList<Answer> m_answers;
};

} // namespace qelvane::msg
