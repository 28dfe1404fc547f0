#pragma once
// Where the commentary's sounds go: real playback in the program, a list in
// the driver and the tests. Playing never waits and never fails loudly.
#include <QString>

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts the file at path (stopping any sound still playing) and returns.
    virtual void play(const QString& path) = 0;
};
