#pragma once
// One thrown dart as a value: where it landed and what it is worth. The board
// names a dart by its label ("0", "5", "D16", "T20", "25", "50"); the match
// works on the value and only turns it into a label for whoever shows it.
#include <QString>
#include <QStringView>
#include <optional>

namespace match {

class Dart {
public:
    enum class Bed { Miss, Single, Double, Treble, OuterBull, Bull };

    // A miss.
    constexpr Dart() = default;

    static constexpr Dart miss() { return Dart(); }
    static constexpr Dart single(int n) { return Dart(Bed::Single, n); }
    static constexpr Dart doubleOf(int n) { return Dart(Bed::Double, n); }
    static constexpr Dart treble(int n) { return Dart(Bed::Treble, n); }
    static constexpr Dart outerBull() { return Dart(Bed::OuterBull, 0); }
    static constexpr Dart bull() { return Dart(Bed::Bull, 0); }

    // The dart a board label names; nothing for a text that is not one of
    // the 63 labels in their plain form ("0", "25", "50", "1".."20",
    // "D1".."D20", "T1".."T20"; no leading zeros or blanks).
    static std::optional<Dart> fromLabel(QStringView label);

    constexpr Bed bed() const { return bed_; }
    // The segment 1..20 of a single, double or treble; 0 for the others.
    constexpr int number() const { return number_; }

    constexpr int score() const
    {
        switch (bed_) {
        case Bed::Single: return number_;
        case Bed::Double: return 2 * number_;
        case Bed::Treble: return 3 * number_;
        case Bed::OuterBull: return 25;
        case Bed::Bull: return 50;
        case Bed::Miss: break;
        }
        return 0;
    }

    // Whether the dart may end a leg on reaching exactly 0: a double or the bull.
    constexpr bool finishes() const { return bed_ == Bed::Double || bed_ == Bed::Bull; }

    QString label() const;

    constexpr bool operator==(const Dart&) const = default;

private:
    constexpr Dart(Bed bed, int number) : bed_(bed), number_(number) {}

    Bed bed_ = Bed::Miss;
    int number_ = 0;
};

} // namespace match
