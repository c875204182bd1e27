#pragma once
// A named logger of the gateway's hierarchy, over log4cplus.

#include <sstream>
#include <string>

#include <log4cplus/logger.h>

using LogLevel = log4cplus::LogLevel;

constexpr LogLevel TRACE_LOG_LEVEL = log4cplus::TRACE_LOG_LEVEL;
constexpr LogLevel DEBUG_LOG_LEVEL = log4cplus::DEBUG_LOG_LEVEL;
constexpr LogLevel INFO_LOG_LEVEL = log4cplus::INFO_LOG_LEVEL;
constexpr LogLevel WARN_LOG_LEVEL = log4cplus::WARN_LOG_LEVEL;
constexpr LogLevel ERROR_LOG_LEVEL = log4cplus::ERROR_LOG_LEVEL;
constexpr LogLevel FATAL_LOG_LEVEL = log4cplus::FATAL_LOG_LEVEL;
constexpr LogLevel NOT_SET_LOG_LEVEL = log4cplus::NOT_SET_LOG_LEVEL;

// Cheap to copy: every copy refers to the same node of the hierarchy. Called on any thread.
class Logger
{
  public:
    Logger(); // the root logger
    explicit Logger(const std::string& in_strName);
    explicit Logger(const log4cplus::Logger& in_logger);

    std::string getName() const;
    LogLevel getLogLevel() const;        // NOT_SET_LOG_LEVEL when inherited
    LogLevel getChainedLogLevel() const; // the level in force
    void setLogLevel(LogLevel in_level);
    bool isEnabledFor(LogLevel in_level) const;
    virtual ~Logger() = default;
    Logger(const Logger&) = default;
    Logger& operator=(const Logger&) = default;
    // Virtual, so that a line written through a plain Logger reference (a trace scope, an
    // assertion report) still carries what a derived logger adds to it.
    virtual void forcedLog(LogLevel in_level, const std::string& in_strText, const char* in_szFile = nullptr,
                           int in_nLine = -1) const;

    // True when the hierarchy holds a logger of that name, or one below it.
    static bool prefixExists(const std::string& in_strName);

    const log4cplus::Logger& getLog4cplusLogger() const { return m_logger; }

  private:
    log4cplus::Logger m_logger;
};

// Accepts log4cplus's level names (TRACE, DEBUG, INFO, WARN, ERROR, FATAL, OFF, ALL) in any case;
// NOT_SET_LOG_LEVEL for anything else.
LogLevel parseLogLevelString(const std::string& in_strText);

// The text is built only when the level is enabled.
#define LH_LOG(logger, level, streamExpr)                                                          \
    do {                                                                                           \
        const auto& lhLogger_ = (logger);                                                          \
        if (lhLogger_.isEnabledFor(level)) {                                                       \
            std::ostringstream lhStream_;                                                          \
            lhStream_ << streamExpr;                                                               \
            lhLogger_.forcedLog(level, lhStream_.str(), __FILE__, __LINE__);                       \
        }                                                                                          \
    } while (false)

#define LH_TRACE(logger, streamExpr) LH_LOG(logger, TRACE_LOG_LEVEL, streamExpr)
#define LH_DEBUG(logger, streamExpr) LH_LOG(logger, DEBUG_LOG_LEVEL, streamExpr)
#define LH_INFO(logger, streamExpr) LH_LOG(logger, INFO_LOG_LEVEL, streamExpr)
#define LH_WARN(logger, streamExpr) LH_LOG(logger, WARN_LOG_LEVEL, streamExpr)
#define LH_ERROR(logger, streamExpr) LH_LOG(logger, ERROR_LOG_LEVEL, streamExpr)
#define LH_FATAL(logger, streamExpr) LH_LOG(logger, FATAL_LOG_LEVEL, streamExpr)
