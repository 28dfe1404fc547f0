#pragma once
// The settings in force, as the match reads them. The match never knows where
// they come from (dialog boxes, the saved row, a test); it asks at the moments
// the rules name, so a change made between two darts counts from the next
// moment it is read.
namespace match {

class MatchSettings {
public:
    virtual ~MatchSettings() = default;

    // 1 or 2. Read when a dart is thrown (whose finished visit leaves the
    // view) and whenever the throw passes (after a visit, a bust, a won leg).
    virtual int players() const = 0;

    // The targets a won leg is compared with: the number their box's text
    // begins with, 0 when there is none. Only equality counts, so a target
    // of 0, or one below a count already passed, is never reached.
    virtual double legsPerSet() const = 0;
    virtual double setsPerMatch() const = 0;

    // 101, 301 or 501. Read by a new game, at the start of every leg and when
    // a new starting score is to be applied at once.
    virtual int startingScore() const = 0;
};

// Settings held as plain values, for callers that keep them themselves.
struct FixedSettings final : MatchSettings {
    int playerCount = 2;
    double legs = 3;
    double sets = 1;
    int start = 501;

    int players() const override { return playerCount; }
    double legsPerSet() const override { return legs; }
    double setsPerMatch() const override { return sets; }
    int startingScore() const override { return start; }
};

} // namespace match
