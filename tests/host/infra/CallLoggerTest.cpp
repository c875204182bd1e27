#include <gtest/gtest.h>

#include "host/infra/CallLogger.h"

// Switching on and off, and the refusal without a file, are driven through the administration
// commands; no module writes call records, so only the gateway's configuring is left here.
TEST(CallLogger, AFileThatCannotBeOpenedConfiguresNothing)
{
    EXPECT_FALSE(CallLogger::configure("/nonexistent/calls.log") || CallLogger::isConfigured());
}
