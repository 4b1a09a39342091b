#include <deque>
#include <map>

#include "platform/headless/faults.h"

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

namespace {

// The one recorder: every call through the shared platform objects, and every
// headless entry point of its own, is counted, answered and recorded here.
class Recorder final : public platform::CallWatcher {
public:
    bool TakeFault(Op op, long* result) override {
        FaultState& state = State();
        const int number = ++state.counts[op];
        auto queued = state.queued.find(op);
        if (queued != state.queued.end() && !queued->second.empty()) {
            const long next = queued->second.front();
            queued->second.pop_front();
            if (next == 0) return false;
            *result = next;
            return true;
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

    void Record(Op op, const platform::CallArgs& args, const char* text, long result) override {
        if (!State().recording) return;
        State().calls.push_back(
            {op, std::vector<long long>(args.begin(), args.end()), text, result});
    }
};

}  // namespace

namespace detail {

void ResetFaults() {
    State() = FaultState();
}

}  // namespace detail
}  // namespace headless

platform::CallWatcher& platform::Watcher() {
    static headless::Recorder recorder;
    return recorder;
}
