#pragma once

namespace platform {

// What the signals do while one document is written. SIGINT, SIGTERM and SIGHUP remove the
// temporary file and then end (or reach) the program as they would have without us; during a
// step that must not be cut (creating, renaming or removing the temporary file, writing a file
// in place) they wait until the step is done. SIGXFSZ, sent when a write would pass the
// file-size limit, is ignored meanwhile, so that the write fails with EFBIG and the old file is
// kept and a message given, instead of the program being killed half-way.
//
// A signal may arrive on any thread; the state it reads is atomic and the handler makes only
// async-signal-safe calls. One guard at a time (SafeFile serialises its writes).
class WriteSignals
{
public:
    WriteSignals();
    ~WriteSignals(); // restores the program's own dispositions, then delivers a held signal
    WriteSignals(const WriteSignals &) = delete;
    WriteSignals &operator=(const WriteSignals &) = delete;

    // Signals wait from hold() to release(); release() delivers one that arrived.
    void hold();
    void release();

    // Between hold() and release(): from now on a signal removes `name` in `folder` (a
    // descriptor), until disarm().
    void arm(int folder, const char *name);
    void disarm();
};

} // namespace platform
