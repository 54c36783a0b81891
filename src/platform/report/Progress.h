#pragma once
// How long work tells the window (or the command line) how far it got. The callback returns false to
// stop: the engine then throws report::Cancelled and leaves no file behind.

#include <QtGlobal>
#include <functional>

namespace report {

struct Progress {
    enum class Stage { Reading, Rendering };
    Stage stage = Stage::Reading;
    qint64 done = 0;
    qint64 total = -1; // unknown while the rows are still being read
};

using ProgressFn = std::function<bool(const Progress&)>;

} // namespace report
