// The match log from the engine's side: logging the operator's events as they
// change the match, and playing a logged match back, for resuming it after a
// crash and for looking at a past one.
//
// Playing back runs the very events the operator caused, in order, on an
// engine at the start of a match with the settings the match began with. The
// engine is deterministic, so the result is the match as it stood, undo
// history included. What playing back must not do again is done once only:
// no sound, no message, no write of the settings row or the high-score table
// (a dart that entered a high score logged how to take it out again, so undo
// after a resume still does).
#include "base/AppText.h"
#include "base/Moments.h"
#include "engine/DartRecorder.h"
#include "engine/ModDarts.h"
#include "store/MatchOptions.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

class SilentNotifier final : public Notifier {
public:
    void message(const QString&, const QString&) override {}
    bool question(const QString&, const QString&) override { return false; }
};

QJsonObject controlsJson(const OptionsDialog::Controls& c)
{
    return QJsonObject{{QStringLiteral("txtName1"), c.txtName1}, {QStringLiteral("txtName2"), c.txtName2},
                       {QStringLiteral("txtLegs"), c.txtLegs},   {QStringLiteral("txtSets"), c.txtSets},
                       {QStringLiteral("OptScore"), c.OptScore}, {QStringLiteral("OptPlayers"), c.OptPlayers},
                       {QStringLiteral("OptComm"), c.OptComm}};
}

OptionsDialog::Controls controlsFrom(const QJsonObject& o)
{
    OptionsDialog::Controls c;
    c.txtName1 = o.value(u"txtName1").toString();
    c.txtName2 = o.value(u"txtName2").toString();
    c.txtLegs = o.value(u"txtLegs").toString();
    c.txtSets = o.value(u"txtSets").toString();
    c.OptScore = o.value(u"OptScore").toInt(-1);
    c.OptPlayers = o.value(u"OptPlayers").toInt(-1);
    c.OptComm = o.value(u"OptComm").toInt(-1);
    return c;
}

QString replacementJson(const std::optional<HiScoreReplacement>& r)
{
    if (!r)
        return QString();
    const QJsonObject o{{QStringLiteral("replacedRow"), r->replacedRow},
                        {QStringLiteral("replacedRowId"), double(r->replacedRowId)},
                        {QStringLiteral("replacedValues"), QJsonObject::fromVariantMap(r->replacedValues)},
                        {QStringLiteral("addedRowId"), double(r->addedRowId)},
                        {QStringLiteral("addedValues"), QJsonObject::fromVariantMap(r->addedValues)}};
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("highScore"), o}}).toJson(QJsonDocument::Compact));
}

std::optional<HiScoreReplacement> replacementFrom(const QString& extra)
{
    const QJsonObject o = QJsonDocument::fromJson(extra.toUtf8()).object().value(u"highScore").toObject();
    if (o.isEmpty())
        return std::nullopt;
    HiScoreReplacement r;
    r.replacedRow = o.value(u"replacedRow").toBool();
    r.replacedRowId = qint64(o.value(u"replacedRowId").toDouble());
    r.replacedValues = o.value(u"replacedValues").toObject().toVariantMap();
    r.addedRowId = qint64(o.value(u"addedRowId").toDouble());
    r.addedValues = o.value(u"addedValues").toObject().toVariantMap();
    return r;
}

// The check written with a match's settings: a digest of the rest of them,
// so one flipped bit in a stored name or count is found, not played.
QString SettingsCheck(QJsonObject settings)
{
    settings.remove(u"check");
    const QByteArray compact = QJsonDocument(settings).toJson(QJsonDocument::Compact);
    return QString::fromLatin1(QCryptographicHash::hash(compact, QCryptographicHash::Sha256).toHex().left(16));
}

bool HasAll(const QJsonObject& o, std::initializer_list<std::pair<const char*, QJsonValue::Type>> members)
{
    for (const auto& [key, type] : members)
        if (o.value(QLatin1String(key)).type() != type)
            return false;
    return true;
}

bool ControlsReadable(const QJsonValue& v)
{
    const QJsonObject c = v.toObject();
    const auto button = [&](const char* key) {
        const double b = c.value(QLatin1String(key)).toDouble(-2);
        return b >= -1 && b <= 2 && b == std::floor(b);
    };
    return HasAll(c, {{"txtName1", QJsonValue::String}, {"txtName2", QJsonValue::String},
                      {"txtLegs", QJsonValue::String}, {"txtSets", QJsonValue::String}}) &&
           button("OptScore") && button("OptPlayers") && button("OptComm");
}

} // namespace

QString ModDarts::PlaybackSettings(const QString& stored)
{
    // What the stored settings lack (a row edited by hand, cut short) is a
    // first run's, so such a match is still played by two players to the
    // usual counts rather than by nobody's settings at all.
    const MatchOptions first;
    OptionsDialog::Controls controls;
    controls.txtName1 = first.Player1;
    controls.txtName2 = first.Player2;
    controls.txtLegs = first.NumberOfLegs;
    controls.txtSets = first.NumberofSets;
    controls.OptScore = 0;
    controls.OptPlayers = int(first.Players - 1);
    controls.OptComm = first.Commentry == 1 ? 0 : 1;
    QJsonObject settings{{QStringLiteral("names"), QJsonArray{first.Player1, first.Player2}},
                         {QStringLiteral("controls"), controlsJson(controls)},
                         {QStringLiteral("remembered"), controlsJson(controls)},
                         {QStringLiteral("savedStart"), first.StartWith},
                         {QStringLiteral("savedPlayers"), first.Players}};
    const QJsonObject given = QJsonDocument::fromJson(stored.toUtf8()).object();
    for (auto it = given.begin(); it != given.end(); ++it)
        settings[it.key()] = it.value();
    return QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact));
}

bool ModDarts::SettingsReadable(const QString& json)
{
    QJsonParseError parsed;
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &parsed);
    if (parsed.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    if (o.contains(u"check") && o.value(u"check").toString() != SettingsCheck(o))
        return false;
    const QJsonArray names = o.value(u"names").toArray();
    const QJsonArray panels = o.value(u"panels").toArray();
    const int start = o.value(u"savedStart").toInt(0), players = o.value(u"savedPlayers").toInt(0);
    if (names.size() != 2 || !names.at(0).isString() || !names.at(1).isString() || panels.size() != 2 ||
        !ControlsReadable(o.value(u"controls")) || !ControlsReadable(o.value(u"remembered")) ||
        (start != 101 && start != 301 && start != 501) || (players != 1 && players != 2) ||
        !HasAll(o, {{"visible", QJsonValue::Bool}, {"tab", QJsonValue::Double}, {"commentary", QJsonValue::Bool},
                    {"visitRemaining", QJsonValue::Double}, {"announcement", QJsonValue::Object}}) ||
        !HasAll(o.value(u"announcement").toObject(), {{"open", QJsonValue::Bool}, {"winner", QJsonValue::String},
                                                      {"player", QJsonValue::String}, {"top", QJsonValue::Double}}))
        return false;
    for (const QJsonValue& panel : panels)
        if (!HasAll(panel.toObject(), {{"finish", QJsonValue::String}, {"finishVisible", QJsonValue::Bool},
                                       {"finishBack", QJsonValue::Double}, {"finishFore", QJsonValue::Double},
                                       {"overall", QJsonValue::Double}, {"first9", QJsonValue::Double},
                                       {"scoring", QJsonValue::Double}, {"firstNine", QJsonValue::Double}}))
            return false;
    return true;
}

void ModDarts::beginLogged()
{
    if (++logDepth_ > 1 || replaying_ || !log_.isOpen())
        return;
    if (!logStopped_) {
        command_ = std::make_unique<Transaction>(dbDarts.connection());
        if (!command_->isOpen()) {
            stopLogging(command_->error());
            command_.reset();
            return;
        }
    }
    // Playing on without answering the question at start leaves the
    // unfinished match to the history.
    if (unfinished_)
        Discard();
    if (log_.currentMatch() == 0) {
        QString error;
        currentWon_ = false;
        const QString settings = settingsJson();
        loggedDarts_ = 0;
        loggedSettings_ = history::SettingsDigest(settings);
        if (!log_.beginMatch(clock.now(), settings, &error))
            stopLogging(error);
    }
}

void ModDarts::appendToLog(const matchlog::Entry& entry)
{
    QString error;
    if (!log_.append(entry, &error))
        stopLogging(error);
    else if (entry.kind == u"press")
        ++loggedDarts_;
}

void ModDarts::writeSummary()
{
    history::Summary s = summary_.summary(log_.lastSeq());
    s.darts = loggedDarts_;
    s.settings = loggedSettings_;
    QString error;
    if (!log_.setSummary(history::SummaryJson(s), &error))
        stopLogging(error);
}

void ModDarts::endLoggedCommand()
{
    if (!command_)
        return;
    const std::unique_ptr<Transaction> command = std::move(command_);
    // The event's writes stand only with its log row.
    if (logStopped_)
        command->rollback();
    else if (!command->commit())
        stopLogging(command->error());
}

void ModDarts::stopLogging(const QString& error)
{
    logStopped_ = true;
    reportLogFailure(error);
}

void ModDarts::logMatchWon()
{
    // Followed while a match is played back too, so undo after a resume
    // knows whether the win it takes back was the match's first.
    const bool wonBefore = currentWon_;
    currentWon_ = true;
    QString error;
    if (!wonBefore && logging() && !log_.setStatus(log_.currentMatch(), matchlog::Status::Won, &error))
        stopLogging(error);
    // Taking the winning dart back takes the win back, unless an earlier
    // win of this match still stands.
    journal_.record([this, wonBefore] {
        currentWon_ = wonBefore;
        QString undoError;
        if (!wonBefore && logging() && !log_.setStatus(log_.currentMatch(), matchlog::Status::InProgress, &undoError))
            stopLogging(undoError);
    });
}

void ModDarts::reportLogFailure(const QString& error)
{
    dbDarts.reportFailedWrite(notifier(),
                              QStringLiteral("The match could not be saved in the match log: it keeps the match only "
                                             "as it stood before this, and a crash now would lose the rest. The next "
                                             "new game is logged again.\n") +
                                  error);
}

QString ModDarts::settingsJson() const
{
    QJsonObject o;
    o[u"names"] = QJsonArray{board.panel[0].lblNames.text(), board.panel[1].lblNames.text()};
    o[u"controls"] = controlsJson(options.controls());
    o[u"remembered"] = controlsJson(options.remembered());
    o[u"visible"] = options.visible;
    o[u"tab"] = options.tab;
    o[u"savedStart"] = savedStartWith();
    o[u"savedPlayers"] = savedPlayers();
    o[u"commentary"] = commentaryOn_;
    o[u"visitRemaining"] = double(match_.visitRemaining());
    QJsonArray panels;
    for (int p = 0; p < 2; ++p) {
        const Field& box = board.panel[p].lblFinishAdj;
        panels.append(QJsonObject{{QStringLiteral("finish"), box.text()},
                                  {QStringLiteral("finishVisible"), box.visible()},
                                  {QStringLiteral("finishBack"), double(box.back())},
                                  {QStringLiteral("finishFore"), double(box.fore())},
                                  {QStringLiteral("overall"), stats.ProOverall3Dart[p].value()},
                                  {QStringLiteral("first9"), stats.ProFirst9[p].value()},
                                  {QStringLiteral("scoring"), stats.ProScoring[p].value()},
                                  {QStringLiteral("firstNine"), double(match_.player(p).firstNineAverage)}});
    }
    o[u"panels"] = panels;
    // A new game leaves an open announcement open.
    o[u"announcement"] = QJsonObject{{QStringLiteral("open"), winner.open()},
                                     {QStringLiteral("winner"), winner.lblWinner()},
                                     {QStringLiteral("player"), winner.lblPlayer()},
                                     {QStringLiteral("top"), winner.winnerTop()}};
    o[u"check"] = SettingsCheck(o);
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

void ModDarts::applySettings(const QString& json)
{
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    const QJsonArray names = o.value(u"names").toArray();
    for (int p = 0; p < 2 && p < names.size(); ++p)
        board.panel[p].lblNames.setText(names.at(p).toString());
    options.setControls(controlsFrom(o.value(u"controls").toObject()));
    options.setRemembered(controlsFrom(o.value(u"remembered").toObject()));
    options.visible = o.value(u"visible").toBool();
    options.selectTab(o.value(u"tab").toInt(1));
    replaySaved_ = SavedSettings{o.value(u"savedStart").toInt(501), o.value(u"savedPlayers").toInt(2)};
    commentaryOn_ = o.value(u"commentary").toBool();
    const QJsonArray panels = o.value(u"panels").toArray();
    for (int p = 0; p < 2 && p < panels.size(); ++p) {
        const QJsonObject each = panels.at(p).toObject();
        Field& box = board.panel[p].lblFinishAdj;
        box.setText(each.value(u"finish").toString());
        box.setVisible(each.value(u"finishVisible").toBool());
        box.setColours(quint32(each.value(u"finishBack").toDouble()), quint32(each.value(u"finishFore").toDouble()));
        stats.ProOverall3Dart[p].setValue(each.value(u"overall").toDouble());
        stats.ProFirst9[p].setValue(each.value(u"first9").toDouble());
        stats.ProScoring[p].setValue(each.value(u"scoring").toDouble());
    }
    const QJsonObject a = o.value(u"announcement").toObject();
    winner.restore(a.value(u"open").toBool(), a.value(u"winner").toString(), a.value(u"player").toString(),
                   a.value(u"top").toInt(Announcement::DesignWinnerTop));
    match_.applyStartingScore();
    if (panels.size() == 2)
        match_.carryOver(qint64(panels.at(0).toObject().value(u"firstNine").toDouble()),
                         qint64(panels.at(1).toObject().value(u"firstNine").toDouble()),
                         qint64(o.value(u"visitRemaining").toDouble()));
}

bool ModDarts::play(const matchlog::Entry& e)
{
    const QString& k = e.kind;
    if (k == u"press") {
        // The bed that was hit decides, never the point: the board may stand
        // elsewhere now, or be drawn too small to tell one bed from another.
        if (!match::Dart::fromLabel(e.label))
            return false;
        pressedOn(e.x, e.y, e.label);
    } else if (k == u"undo") {
        UndoLast();
    } else if (k == u"winnerok") {
        WinnerOk();
    } else if (k == u"options") {
        ShowOptions(int(e.number));
    } else if (k == u"activate") {
        OptionsActivated();
    } else if (k == u"tab") {
        OptionsTabClicked(int(e.number));
    } else if (k == u"name1" || k == u"name2") {
        OptionsNameTyped(k == u"name1" ? 0 : 1, e.text);
    } else if (k == u"legs") {
        OptionsLegsTyped(e.text);
    } else if (k == u"sets") {
        OptionsSetsTyped(e.text);
    } else if (k == u"start") {
        OptionsScoreChosen(int(e.number));
    } else if (k == u"players") {
        OptionsPlayersChosen(int(e.number));
    } else if (k == u"commentary") {
        OptionsCommentaryChosen(int(e.number));
    } else if (k == u"ok") {
        OptionsOk();
    } else if (k == u"cancel") {
        OptionsCancel();
    } else {
        Q_ASSERT(!matchlog::Kinds().contains(k));
        return false;
    }
    return true;
}

int ModDarts::replay(const LogPlay& m)
{
    int rejected = 0;
    SilentNotifier silent;
    Notifier* const notifier = setup_.notifier;
    setup_.notifier = &silent;
    replaying_ = true;
    currentWon_ = false;
    scoreCaller_.setMuted(true);
    applySettings(m.settings);
    for (qint64 i = 0; m.count < 0 || i < m.count; ++i) {
        const matchlog::Entry* e = m.next();
        if (!e)
            break;
        replayEntry_ = e;
        replayPosition_ = int(i);
        if (!play(*e))
            ++rejected;
    }
    replayEntry_ = nullptr;
    replayPosition_ = -1;
    scoreCaller_.setMuted(false);
    replaying_ = false;
    replaySaved_.reset();
    setup_.notifier = notifier;
    return rejected;
}

ModDarts::LogPlay ModDarts::Playing(const matchlog::Log& log, qint64 id, const QString& settings, qint64 count,
                                    std::shared_ptr<matchlog::EntryReader>* rows)
{
    auto reader = std::make_shared<matchlog::EntryReader>(log, id);
    if (rows)
        *rows = reader;
    return LogPlay{settings, [reader] { return reader->next(); }, count};
}

std::unique_ptr<ModDarts> ModDarts::Replayed(const LogPlay& match)
{
    return replayedWith(match, true, nullptr, nullptr, nullptr);
}

std::unique_ptr<ModDarts> ModDarts::Replayed(const LogPlay& match, match::MatchListener& listener,
                                             const std::function<void(const ModDarts&)>& watch, int* notPlayed)
{
    return replayedWith(match, true, notPlayed, &listener, watch ? &watch : nullptr);
}

std::unique_ptr<ModDarts> ModDarts::replayedWith(const LogPlay& match, bool showsMatch, int* rejected,
                                                 match::MatchListener* listener,
                                                 const std::function<void(const ModDarts&)>* watch)
{
    static SilentNotifier silent;
    Setup setup;
    setup.notifier = &silent;
    setup.showsMatch = showsMatch;
    auto e = std::make_unique<ModDarts>(setup);
    e->Load();
    if (watch)
        (*watch)(*e);
    if (listener)
        e->match_.addListener(listener);
    const int notPlayed = e->replay(match);
    if (rejected)
        *rejected = notPlayed;
    return e;
}

void ModDarts::replayHighScore(int p, qint64 score)
{
    if (!replayEntry_ || !rsHiScores)
        return;
    // Undo may take out only the row this visit entered: a damaged or
    // edited log naming another row, or a row of another score or player,
    // leaves the table as it is.
    const std::optional<HiScoreReplacement> r = replacementFrom(replayEntry_->extra);
    if (!r || !IsEntryRow(r->addedValues) || (r->replacedRow && !IsEntryRow(r->replacedValues)))
        return;
    if (StoredWholeNumber(r->addedValues.value(QStringLiteral("Score"))) != score ||
        StoredText(r->addedValues.value(QStringLiteral("Name"))) != panel(p).lblNames.text())
        return;
    recordHighScoreRevert(*r);
}

matchlog::Entry ModDarts::entry(const QString& kind, const QString& text, qint64 number)
{
    matchlog::Entry e;
    e.kind = kind;
    e.text = text;
    e.number = number;
    return e;
}

matchlog::Entry ModDarts::pressEntry(double X, double Y) const
{
    matchlog::Entry e;
    e.kind = QStringLiteral("press");
    e.x = X;
    e.y = Y;
    e.label = currentDartLabel_;
    e.extra = replacementJson(enteredHighScore_);
    return e;
}

void ModDarts::findUnfinishedMatch()
{
    unfinished_.reset();
    resumable_.reset();
    if (!log_.isOpen())
        return;
    QString error;
    std::optional<matchlog::LoggedMatch> m = log_.unfinished(&error);
    // Another copy of the program, started on this folder in spite of its
    // lock, is playing it: it is neither offered here nor ended.
    if (!m || matchlog::Log::writtenByAnotherCopy(*m))
        return;
    // Played with settings it did not have, it would come back as a match
    // that never was (a 301 match as 501).
    if (!SettingsReadable(m->settings)) {
        notifier().message(QStringLiteral("The match started %1 cannot be resumed: its settings in the match log "
                                          "cannot be read. It is listed in the match history as damaged.")
                               .arg(MomentText(m->started)),
                           apptext::Title);
        return;
    }
    // One pass over its rows, none of them kept. Rows that cannot be read,
    // or read as no event this program knows (edited by hand, written
    // half), are left out and the rest is resumed; the question shows the
    // summary written with the match's last row, or without a whole log
    // behind it the match is played back to ask it.
    bool whole = true;
    int skipped = 0;
    {
        matchlog::EntryReader rows(log_, m->id);
        while (const matchlog::Entry* e = rows.next())
            whole = whole && matchlog::Kinds().contains(e->kind) &&
                    (e->kind != u"press" || match::Dart::fromLabel(e->label));
        if (rows.darts() == 0)
            return;
        skipped = rows.unreadable();
    }
    const std::optional<history::Summary> summary = history::SummaryFrom(m->summary);
    Resumable r;
    if (skipped == 0 && whole && summary && history::SummaryStandsFor(*summary, *m)) {
        r = summary->resumable;
    } else {
        int rejected = 0;
        history::DartRecorder recorder;
        const std::function<void(const ModDarts&)> watch = [&](const ModDarts& engine) { recorder.follow(engine); };
        const std::unique_ptr<ModDarts> played =
            replayedWith(Playing(log_, m->id, m->settings), false, &rejected, &recorder, &watch);
        skipped += rejected;
        if (const int won = recorder.winningDart(); won >= 0) {
            r.wonBy = recorder.darts()[std::size_t(won)].matchWonBy;
            r.playedOn = recorder.playedOn();
        }
        for (int p = 0; p < 2; ++p) {
            const match::PlayerState& S = played->match().player(p);
            r.players[p] = played->board.panel[p].lblNames.text();
            r.sets[p] = S.sets;
            r.legs[p] = S.legs;
            r.remaining[p] = S.remaining;
            r.darts += S.dartsInMatch;
        }
    }
    if (skipped > 0)
        notifier().message(QStringLiteral("Part of the match between %1 and %2 started %3 could not be read back "
                                          "from the match log (%4 of its entries); the rest can be resumed.")
                               .arg(r.players[0].trimmed(), r.players[1].trimmed(),
                                    MomentText(m->started), QString::number(skipped)),
                           apptext::Title);
    unfinished_ = std::move(m);
    resumable_ = r;
}

QString ModDarts::ResumeQuestion() const
{
    if (!resumable_)
        return QString();
    const Resumable& r = *resumable_;
    // A won match is said to be one, and so is play that went on after it.
    QString match = QStringLiteral("the match between %1 and %2").arg(r.players[0].trimmed(), r.players[1].trimmed());
    if (r.wonBy >= 0)
        match += (r.playedOn ? QStringLiteral(", played on after %1 won it") : QStringLiteral(", won by %1"))
                     .arg(r.players[r.wonBy].trimmed());
    // One pass of arg(), so a "%2" in a name stays as typed.
    return QStringLiteral("Resume %1 (sets %2-%3, legs %4-%5)?")
        .arg(match, QString::number(r.sets[0]), QString::number(r.sets[1]), QString::number(r.legs[0]),
             QString::number(r.legs[1]));
}

bool ModDarts::Resume()
{
    if (!unfinished_)
        return false;
    const matchlog::LoggedMatch m = std::move(*unfinished_);
    unfinished_.reset();
    resumable_.reset();
    // Played back from the log a row at a time, as it was read for the
    // question.
    std::shared_ptr<matchlog::EntryReader> rows;
    replay(Playing(log_, m.id, m.settings, -1, &rows));
    logStopped_ = false;
    loggedDarts_ = rows->darts();
    loggedSettings_ = history::SettingsDigest(m.settings);
    QString error;
    if (!log_.continueMatch(m.id, rows->lastSeq(), &error))
        stopLogging(error);
    return true;
}

void ModDarts::Discard()
{
    if (!unfinished_)
        return;
    const matchlog::LoggedMatch m = std::move(*unfinished_);
    unfinished_.reset();
    resumable_.reset();
    // Ended as this program's, so another copy's match is never ended here.
    QString error;
    const bool claimed = log_.continueMatch(m.id, m.lastSeq, &error);
    if (!log_.endMatch(matchlog::Status::Abandoned, &error) || !claimed)
        reportLogFailure(error);
}
