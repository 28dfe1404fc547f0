#pragma once
// The scoreboard's keyboard entry line: the dart being typed, or a prompt
// for one, and below it the hint why the last Enter recorded nothing. It
// stands in a corner of the board picture outside the rings, and a click on
// it goes through to the board, so it hides no bed.
#include <QString>
#include <QWidget>

class Commands;
class QKeyEvent;
struct KeyboardEntry;

// The keys that belong to the keyboard entry: a character typed, Backspace,
// Escape and Enter, without a modifier other than Shift (capitals) or the
// keypad's. Anything else is a shortcut's or an access key's.
enum class EntryKey { None, Character, Backspace, Escape, Enter };
EntryKey EntryKeyOf(const QKeyEvent& e);
// Gives the key to the entry through its command.
void SendEntryKey(EntryKey key, const QKeyEvent& e, Commands& commands);

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
