#pragma once

#include "Cli.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace tripvane {

// How far long work has come, on standard error for a person at a terminal: nothing when it is
// a file or a pipe, and nothing for work done within a second. One line, rewritten in place
// and cleared at the end.
class CliProgress
{
public:
    using Milliseconds = std::function<std::int64_t()>; // since any fixed moment

    CliProgress(CliStreams streams, const QString &command,
                Milliseconds clock = steadyMilliseconds);
    ~CliProgress();
    CliProgress(const CliProgress &) = delete;
    CliProgress &operator=(const CliProgress &) = delete;

    // done of total in the phase named ("checking", "writing").
    void show(const char *phase, std::int64_t done, std::int64_t total);
    // Takes the line away, before a message or when the work is done.
    void clear();

    static std::int64_t steadyMilliseconds();

private:
    QIODevice *m_terminal; // null: nothing is shown
    QString m_command;
    Milliseconds m_clock;
    std::int64_t m_start = 0;
    std::int64_t m_shownAt = -1;
    unsigned m_calls = 0;
    qsizetype m_shownWidth = 0;
};

} // namespace tripvane
