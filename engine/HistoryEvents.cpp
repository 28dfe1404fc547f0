// The match-history window's events. The list is read from the match log
// when the window opens; opening a row plays that match back once more on an
// engine of its own, whose statistics tables are the pages shown for it.
#include "base/AppText.h"
#include "engine/ModDarts.h"

void ModDarts::ShowHistory()
{
    HistoryWindow& w = historyWindow;
    matchlog::LeftOut leftOut;
    QString error;
    w.rows = history::ReadAll(log_, &leftOut, &error);
    if (!logUnreadable_.isEmpty())
        error = QStringLiteral("the match log cannot be read: %1").arg(logUnreadable_);
    w.open = true;
    ++w.revision;
    HistoryPagesClose();
    if (!error.isEmpty())
        notifier().message(QStringLiteral("The match history could not be read completely:\n") + error, apptext::Title);
    else if (!leftOut.empty())
        notifier().message(QStringLiteral("Part of the match log could not be read back; the rest is listed.\n\n") +
                               leftOut.text(),
                           apptext::Title);
}

void ModDarts::HistoryOpenMatch(int row)
{
    HistoryWindow& w = historyWindow;
    if (!w.open || row < 0 || row >= int(w.rows.size()))
        return;
    QString error;
    matchlog::LeftOut leftOut;
    const std::optional<history::StoredMatch> full = history::Detailed(log_, w.rows[std::size_t(row)], &leftOut, &error);
    if (!full) {
        notifier().message(QStringLiteral("The match could not be read from the match log:\n") + error, apptext::Title);
        return;
    }
    if (!leftOut.empty())
        notifier().message(QStringLiteral("Part of the match could not be read back from the match log; the rest "
                                          "is shown.\n\n") + leftOut.text(),
                           apptext::Title);
    std::unique_ptr<ModDarts> played = Replayed(
        Playing(log_, full->log.id, history::PlaybackSettings(full->log.settings), full->playedEntries));
    // As the statistics window does on activation: the scoring-darts bars
    // are worked out from the bed counts.
    played->StatsActivated();
    w.pages = StatsWindow();
    for (int p = 0; p < 2; ++p)
        w.pages.tabCaption[p] = played->statsWindow.tabCaption[p];
    w.pages.tab = 1;
    w.pages.visible = true;
    w.openedRow = row;
    w.opened = std::move(played);
}

void ModDarts::HistoryTabClicked(int tab)
{
    historyWindow.pages.tab = (tab == 1 || tab == 2) ? tab : 3;
}

void ModDarts::HistoryPagesClose()
{
    HistoryWindow& w = historyWindow;
    w.pages.visible = false;
    w.openedRow = -1;
    w.opened.reset();
}

void ModDarts::HistoryClose()
{
    HistoryWindow& w = historyWindow;
    HistoryPagesClose();
    w.open = false;
    w.rows.clear();
    ++w.revision;
}

bool ModDarts::ExportHistory(const QString& path, QString* error)
{
    QString why;
    bool done = false;
    matchlog::LeftOut leftOut;
    if (historyWindow.open) {
        done = history::Export(log_, historyWindow.rows, path, &leftOut, &why);
    } else {
        QString readError;
        const std::vector<history::StoredMatch> rows = history::ReadAll(log_, &leftOut, &readError);
        done = readError.isEmpty() ? history::Export(log_, rows, path, &leftOut, &why) : false;
        if (!readError.isEmpty())
            why = readError;
    }
    if (done) {
        if (!leftOut.empty())
            notifier().message(QStringLiteral("The match history was exported to %1, but part of the match log "
                                              "could not be read back and is not in it.\n\n").arg(path) +
                                   leftOut.text(),
                               apptext::Title);
        return true;
    }
    notifier().message(QStringLiteral("The match history could not be exported to %1:\n%2").arg(path, why),
                       apptext::Title);
    if (error)
        *error = why;
    return false;
}
