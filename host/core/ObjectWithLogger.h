#pragma once
// An object that logs through a logger of its own, and the plain implementation of it.

#include "host/core/LoggingIdLogger.h"

template <class LoggerT>
class ObjectWithLogger
{
  public:
    virtual ~ObjectWithLogger() = default;
    virtual LoggerT& getLogger() = 0;
    virtual const LoggerT& getLogger() const = 0;
};

class ObjectWithLoggerImpl : public virtual ObjectWithLogger<LoggingIdLogger>
{
  public:
    explicit ObjectWithLoggerImpl(const Logger& in_logger) : m_logger(in_logger) {}

    LoggingIdLogger& getLogger() override { return m_logger; }
    const LoggingIdLogger& getLogger() const override { return m_logger; }

  private:
    LoggingIdLogger m_logger;
};
