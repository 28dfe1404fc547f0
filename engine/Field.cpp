#include "engine/Field.h"

#include "base/ChangeJournal.h"

Field::Field(QString text, bool visible, quint32 back, quint32 fore)
    : text_(std::move(text)), visible_(visible), back_(back), fore_(fore)
{
}

void Field::setText(const QString& text)
{
    if (text_ == text)
        return;
    if (journal_ && journal_->recording())
        journal_->record([this, old = text_] { text_ = old; });
    text_ = text;
    if (changed_)
        changed_();
}

void Field::setVisible(bool visible)
{
    if (visible_ == visible)
        return;
    if (journal_ && journal_->recording())
        journal_->record([this, old = visible_] { visible_ = old; });
    visible_ = visible;
}

void Field::setColours(quint32 back, quint32 fore)
{
    if (back_ == back && fore_ == fore)
        return;
    if (journal_ && journal_->recording())
        journal_->record([this, b = back_, f = fore_] { back_ = b; fore_ = f; });
    back_ = back;
    fore_ = fore;
}
