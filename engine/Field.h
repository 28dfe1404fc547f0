#pragma once
// One display field of a window: its caption, whether it is shown, and its
// colours, as the presentation wrote them from the match.
#include <QString>
#include <functional>

class ChangeJournal;

class Field {
public:
    // Colours are the window system's colour numbers: blue in the high byte.
    static constexpr quint32 Blue = 0xFF0000, White = 0xFFFFFF, Yellow = 0x00FFFF,
                             Black = 0x000000, DarkBlue = 0xC00000;

    explicit Field(QString text = QString(), bool visible = true,
                   quint32 back = DarkBlue, quint32 fore = White);

    const QString& text() const { return text_; }
    bool visible() const { return visible_; }
    quint32 back() const { return back_; }
    quint32 fore() const { return fore_; }

    void setText(const QString& text);
    void setVisible(bool visible);
    void setColours(quint32 back, quint32 fore);

    // Called after every change of the caption (a name change renames menus).
    void onTextChanged(std::function<void()> handler) { changed_ = std::move(handler); }
    void setJournal(ChangeJournal* journal) { journal_ = journal; }

private:
    QString text_;
    bool visible_;
    quint32 back_, fore_;
    std::function<void()> changed_;
    ChangeJournal* journal_ = nullptr;
};
