#include "tests/support/LogCapture.h"

#include <algorithm>

#include <log4cplus/spi/loggingevent.h>

class LogCapture::Appender : public log4cplus::Appender
{
  public:
    ~Appender() override { destructorImpl(); }
    void close() override {}

    // Appended to on the logging threads.
    mutable std::mutex m_mutex;
    std::vector<CapturedLine> m_lines;

  protected:
    void append(const log4cplus::spi::InternalLoggingEvent& in_event) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back({in_event.getLogLevel(), in_event.getLoggerName(), in_event.getMessage(), in_event.getMDC("loggingId")});
    }
};

LogCapture::LogCapture(const std::string& in_strLogger)
    : m_logger(in_strLogger.empty() ? Logger() : Logger(in_strLogger)), m_pAppender(new Appender()),
      m_pCapture(static_cast<Appender*>(m_pAppender.get())), m_previousLevel(m_logger.getLogLevel())
{
    log4cplus::Logger(m_logger.getLog4cplusLogger()).addAppender(m_pAppender);
    // Everything is captured, whatever level the test run set.
    if (m_logger.getChainedLogLevel() > TRACE_LOG_LEVEL)
        m_logger.setLogLevel(TRACE_LOG_LEVEL);
}

LogCapture::~LogCapture()
{
    log4cplus::Logger(m_logger.getLog4cplusLogger()).removeAppender(m_pAppender);
    m_logger.setLogLevel(m_previousLevel);
}

std::vector<CapturedLine> LogCapture::lines() const
{
    std::lock_guard<std::mutex> lock(m_pCapture->m_mutex);
    return m_pCapture->m_lines;
}

std::vector<std::string> LogCapture::messages(LogLevel in_minLevel) const
{
    std::vector<std::string> messages;
    for (const CapturedLine& line : lines())
        if (line.level >= in_minLevel)
            messages.push_back(line.strMessage);
    return messages;
}

bool LogCapture::contains(LogLevel in_level, const std::string& in_strMessage) const
{
    const std::vector<CapturedLine> vLines = lines();
    return std::any_of(vLines.begin(), vLines.end(), [&](const CapturedLine& line) { return line.level == in_level && line.strMessage == in_strMessage; });
}
