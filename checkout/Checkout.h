#pragma once
// Checkout advice: the darts that finish a leg from a remaining score.
#include <QString>

// The suggested finish for a remaining score: two or three dart names in
// throwing order ("T20 T20 Bull", "7 D16", "D20"), the last always a double
// or the bull. Empty when there is none: above 170, the seven scores below
// it that have no three-dart finish, 1, 0 and below.
QString CheckoutFor(qint64 remaining);
