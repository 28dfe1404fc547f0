#pragma once
// The headless driver's reader: one command line in, the operator's event
// applied to the engine, and `state` rendered as JSON.
#include "engine/Commands.h"
#include "engine/ModDarts.h"

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>

class SimDriver {
public:
    // Failed: a restart found the database unusable (exit status 1).
    enum class Result { Ok, BadCommand, Failed };

    // `home` plays the part of the program's folder. Without the match log
    // (`keepsLog` false) the engine alone is measured.
    explicit SimDriver(const QString& home, bool keepsLog = true);
    ~SimDriver();

    // Opens the database and loads the main window's state.
    bool start(QString* error);

    // Applies one line. `output` receives the JSON of a `state` command; an
    // Ok with an `error` is a command that could not be carried out and
    // changed nothing (a dart the board is drawn too small to hold).
    Result run(const QString& line, QString* output, QString* error);

    QJsonObject state();
    // The engine itself, for tests of its procedures; the driver's own
    // commands go through `commands()`, as the windows' do.
    ModDarts& engine() { return *engine_; }
    Commands& commands() { return *commands_; }

private:
    void makeEngine();

    class Sounds;
    class Messages;
    std::unique_ptr<Sounds> sounds_;
    std::unique_ptr<Messages> messages_;
    std::unique_ptr<ModDarts> engine_;
    std::unique_ptr<Commands> commands_;
    QString home_;
    QDateTime fixedClock_;
    bool keepsLog_ = true;
};
