#include "oam/alarm/InstallAlarmStateAppender.h"

#include "host/core/Logger.h"

void installAlarmStateAppender(const log4cplus::SharedAppenderPtr& in_pAppender)
{
    for (const char* szLogger : {"linkhaven", "admin"}) {
        log4cplus::Logger logger = Logger(szLogger).getLog4cplusLogger();
        if (logger.getAppender(in_pAppender->getName()).get() == nullptr)
            logger.addAppender(in_pAppender);
    }
}
