#pragma once
// The host's assertion facility: reports a broken invariant and lets the caller go on.
//
// A failed assertion is written at error level, without a level test, as
//     "Assertion failed: <condition> (<file name>:<line>)"
// on the logger given, or on "linkhaven.assert" when none is given.
// Nothing aborts: the caller decides what the broken invariant means for its operation.
//
// Tests see which assertions were reported, on whatever thread, through AssertionCapture:
//     AssertionCapture capture;
//     ...code under test...
//     EXPECT_EQ(capture.conditions(), StringVector{"m_nameRegex != 0"});
// or by capturing the logger "linkhaven.assert" when the code reports without a logger.

#include <mutex>
#include <string>
#include <vector>

#include "host/core/Logger.h"
#include "host/core/StringVector.h"

// Gives in_bCondition, so that a caller can write: if (!Assertion(p != 0, "p != 0", ...)) return false;
bool Assertion(bool in_bCondition, const char* in_szCondition, const char* in_szFile, int in_nLine);
bool Assertion(bool in_bCondition, const char* in_szCondition, const char* in_szFile, int in_nLine,
               const Logger& in_logger);

struct AssertionReport
{
    std::string strCondition;
    std::string strFile;
    int nLine;
    std::string strLogger;
};

// Collects every assertion reported in the process while it lives. Called on any thread.
class AssertionCapture
{
  public:
    AssertionCapture();
    ~AssertionCapture();
    AssertionCapture(const AssertionCapture&) = delete;
    AssertionCapture& operator=(const AssertionCapture&) = delete;

    std::vector<AssertionReport> reports() const;
    StringVector conditions() const;

    // Called by the facility for each report.
    void record(const AssertionReport& in_report);

  private:
    mutable std::mutex m_mutex;
    std::vector<AssertionReport> m_vReports;
};
