#include "platform/headless/faults.h"

#include <deque>
#include <map>

namespace headless {
namespace {

struct Fault {
    int first;
    int last;  // -1: no end
    long result;
};

struct FaultState {
    std::map<Op, int> counts;
    std::map<Op, std::vector<Fault>> faults;
    std::map<Op, std::deque<long>> queued;
    std::vector<CallRecord> calls;
    bool recording = true;
};

FaultState& State() {
    static FaultState state;
    return state;
}

}  // namespace

void FailCall(Op op, int callNumber, long result) {
    State().faults[op].push_back({callNumber, callNumber, result});
}

void FailFrom(Op op, int callNumber, long result) {
    State().faults[op].push_back({callNumber, -1, result});
}

void QueueResults(Op op, const std::vector<long>& results) {
    auto& queue = State().queued[op];
    queue.insert(queue.end(), results.begin(), results.end());
}

int CallCount(Op op) {
    auto it = State().counts.find(op);
    return it == State().counts.end() ? 0 : it->second;
}

const std::vector<CallRecord>& Calls() {
    return State().calls;
}

void RecordCalls(bool record) {
    State().recording = record;
}

std::vector<CallRecord> CallsOf(Op op) {
    std::vector<CallRecord> out;
    for (const CallRecord& call : State().calls)
        if (call.op == op) out.push_back(call);
    return out;
}

namespace detail {

bool TakeFault(Op op, long* result) {
    FaultState& state = State();
    const int number = ++state.counts[op];
    auto queued = state.queued.find(op);
    if (queued != state.queued.end() && !queued->second.empty()) {
        const long next = queued->second.front();
        queued->second.pop_front();
        if (next != 0) {
            *result = next;
            return true;
        }
        return false;
    }
    auto faults = state.faults.find(op);
    if (faults == state.faults.end()) return false;
    for (const Fault& fault : faults->second) {
        if (number >= fault.first && (fault.last < 0 || number <= fault.last)) {
            *result = fault.result;
            return true;
        }
    }
    return false;
}

void Record(Op op, std::vector<long long> args, std::string text, long result) {
    if (!State().recording) return;
    State().calls.push_back({op, std::move(args), std::move(text), result});
}

void ResetFaults() {
    State() = FaultState();
}

}  // namespace detail
}  // namespace headless
