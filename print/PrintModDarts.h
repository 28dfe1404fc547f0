#pragma once
// Printing from the engine: the print dialog's sources taken from ModDarts,
// and the headless driver's "print PATH".
#include "print/PrintDialog.h"

class ModDarts;

PrintSources PrintSourcesOf(const ModDarts& modDarts);

// "&Print" then "&Ok" with the statistics window's selected tab, to a PDF
// file at path. False with the reason when nothing could be written; the
// reason has then also been shown as a message.
bool PrintSelectedTabToPdf(const ModDarts& modDarts, const QString& path, QString* error);
