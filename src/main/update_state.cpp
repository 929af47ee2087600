#include "main/update_state.h"

#include <utility>

namespace {

struct SharedUpdateState {
    std::mutex lock;
    UpdateState state;
};

// Never destroyed: the update thread is not waited for and may still take
// the lock while the process runs its exit-time destructors.
SharedUpdateState& shared_update_state() {
    static SharedUpdateState& shared = *new SharedUpdateState;
    return shared;
}

}  // namespace

LockedUpdateState lock_update_state() {
    SharedUpdateState& shared = shared_update_state();
    return LockedUpdateState(shared.lock, shared.state);
}

void store_outcome(UpdateState& state, UpdateOutcome outcome) { state.outcome = std::move(outcome); }

UpdateOutcome take_outcome(UpdateState& state) { return std::exchange(state.outcome, UpdateOutcome{}); }

void store_update_outcome(UpdateOutcome outcome) { store_outcome(*lock_update_state(), std::move(outcome)); }
