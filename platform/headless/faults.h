/// @file
/// Fault injection and the call record of the headless backend.
#pragma once

#include <string>
#include <vector>

#include "platform/common/platform_call.h"

namespace headless {

/// Platform operations whose results a test can choose (see
/// platform/common/platform_call.h): every call the engine makes through the
/// headless backend is counted and recorded there, and answers a fault set here.
using Op = platform::PlatformCall;

/// Makes the n-th call (counted from 1 since the last Reset) of op answer result
/// instead of doing its work.
void FailCall(Op op, int callNumber, long result);
/// Makes every call of op from the n-th on answer result.
void FailFrom(Op op, int callNumber, long result);
/// The next calls of op answer these results in order, then op works normally.
/// A result of 0 lets that call do its work.
void QueueResults(Op op, const std::vector<long>& results);
/// How many times op was called since the last Reset.
int CallCount(Op op);

/// One recorded call: its arguments as numbers, a text argument if it has one,
/// and what it answered.
struct CallRecord {
    Op op;                        ///< the call
    std::vector<long long> args;  ///< its arguments as numbers
    std::string text;             ///< its text argument, empty for none
    long result;                  ///< what it answered
};
/// Every call recorded since the last Reset, oldest first.
const std::vector<CallRecord>& Calls();
/// Keeps the call record (on by default); long runs that never read it, such as
/// benchmarks, switch it off so it does not grow with every frame.
void RecordCalls(bool record);
/// The recorded calls of op, oldest first.
std::vector<CallRecord> CallsOf(Op op);

namespace detail {
void ResetFaults();
}  // namespace detail

}  // namespace headless
