#include "CliProgress.h"

#include <QIODevice>

#include <chrono>

namespace tripvane {

namespace {

constexpr std::int64_t QuietFor = 1000; // work done within this shows nothing
constexpr std::int64_t Every = 100;     // the line is rewritten no more often than this
constexpr unsigned CallsPerLook = 256;  // the clock is read once in so many calls

} // namespace

CliProgress::CliProgress(CliStreams streams, const QString &command, Milliseconds clock)
    : m_terminal(streams.errIsTerminal ? &streams.err : nullptr)
    , m_command(command)
    , m_clock(std::move(clock))
{
    if (m_terminal)
        m_start = m_clock();
}

CliProgress::~CliProgress()
{
    clear();
}

void CliProgress::clear()
{
    if (m_terminal && m_shownWidth > 0)
        m_terminal->write('\r' + QByteArray(m_shownWidth, ' ') + '\r');
    m_shownWidth = 0;
}

void CliProgress::show(const char *phase, std::int64_t done, std::int64_t total)
{
    if (!m_terminal || (++m_calls % CallsPerLook != 0 && done != total))
        return;
    const std::int64_t now = m_clock();
    if (now - m_start < QuietFor || (m_shownAt >= 0 && now - m_shownAt < Every))
        return;
    m_shownAt = now;
    const int percent = total > 0 ? int(done * 100 / total) : 100;
    const QByteArray line = QStringLiteral("tripvane %1: %2 %3%")
                                .arg(m_command, QString::fromLatin1(phase))
                                .arg(percent)
                                .toUtf8();
    // Blanks over what a longer line left.
    m_terminal->write('\r' + line.leftJustified(m_shownWidth, ' '));
    m_shownWidth = std::max(m_shownWidth, line.size());
}

std::int64_t CliProgress::steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace tripvane
