#pragma once
// The core's messages and questions as real message boxes.
#include "base/Notifier.h"

class QWidget;

class MessageBoxNotifier : public Notifier {
public:
    // The boxes are centred over the window of parent() when there is one.
    void setParent(QWidget* parent) { parent_ = parent; }
    QWidget* parent() const { return parent_; }

    void message(const QString& text, const QString& title) override;
    bool question(const QString& text, const QString& title) override;
    bool ask(const QString& text, const QString& title, const QString& first, const QString& second) override;

private:
    QWidget* parent_ = nullptr;
};
