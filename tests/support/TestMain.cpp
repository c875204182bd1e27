// The main of every test program: log lines go nowhere unless a test captures them.

#include <gtest/gtest.h>

#include <log4cplus/nullappender.h>

#include "host/core/Logger.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    log4cplus::Logger root = Logger().getLog4cplusLogger();
    root.addAppender(log4cplus::SharedAppenderPtr(new log4cplus::NullAppender()));
    return RUN_ALL_TESTS();
}
