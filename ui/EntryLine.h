#pragma once
// The scoreboard's keyboard entry line: the dart being typed, or a prompt
// for one, and below it the hint why the last Enter recorded nothing. It
// stands in a corner of the board picture outside the rings, and a click on
// it goes through to the board, so it hides no bed.
#include <QString>
#include <QWidget>

struct KeyboardEntry;

class EntryLine : public QWidget {
    Q_OBJECT
public:
    explicit EntryLine(QWidget* parent);

    void show(const KeyboardEntry& entry);
    // What the line shows: the text typed (or the prompt) and the hint.
    const QString& shownText() const { return text_; }
    const QString& shownHint() const { return hint_; }

    static QString prompt();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
    QString hint_;
    bool prompting_ = true;
};
