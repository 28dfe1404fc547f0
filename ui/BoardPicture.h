#pragma once
// The dartboard picture, drawn from the very mapping that scores a click:
// every pixel is coloured by the bed that HitAt gives for that pixel's
// position, so whatever the board's size, the operator clicks exactly the bed
// they see. The numbers go round the rim at the mapping's sector angles.
#include "engine/Scoreboard.h"

#include <QColor>
#include <QImage>
#include <QString>

namespace boardpicture {

// The standard colours of a bed: single beds alternate black and cream,
// doubles and trebles red on the black sectors and green on the cream ones.
QColor BedColour(const QString& label);

// The picture for the board placed at `image1` (window twips), `size` pixels
// square; pixel (i, j) shows the bed at X = 15 i, Y = 15 j.
QImage Render(const BoardRect& image1, int size);

// The picture at its design size (510 pixels), for the splash and the icon.
QImage DesignPicture();

} // namespace boardpicture
