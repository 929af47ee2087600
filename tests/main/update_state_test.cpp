#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "main/update_state.h"

namespace {

UpdateManifest sample_manifest() {
    return {"1.6.0", 1234567, std::string(64, 'a'), "修复若干问题\n"};
}

// The main window's side of the hand-off.
UpdateOutcome take_update_outcome() { return take_outcome(*lock_update_state()); }

// The process's record outlives each test: every test leaves it empty.
void reset_shared_state() {
    LockedUpdateState locked = lock_update_state();
    *locked = UpdateState{};
}

TEST(UpdateState, TakeMovesTheOutcomeOutAndLeavesEmpty) {
    UpdateState state;
    store_outcome(state, {UpdateOutcome::Available{sample_manifest()}});
    const UpdateOutcome taken = take_outcome(state);
    ASSERT_TRUE(std::holds_alternative<UpdateOutcome::Available>(taken.value));
    EXPECT_EQ(std::get<UpdateOutcome::Available>(taken.value).manifest, sample_manifest());
    EXPECT_TRUE(state.outcome.empty());
    EXPECT_TRUE(take_outcome(state).empty());
}

TEST(UpdateState, StoreReplacesThePendingOutcome) {
    UpdateState state;
    store_outcome(state, {UpdateOutcome::CheckFailed{"无法连接"}});
    store_outcome(state, {UpdateOutcome::UpToDate{}});
    EXPECT_EQ(take_outcome(state), UpdateOutcome{UpdateOutcome::UpToDate{}});
}

TEST(UpdateState, StoreLeavesTheOtherFieldsAlone) {
    UpdateState state;
    state.running = true;
    state.manual = true;
    state.deferred_version = "1.6.0";
    store_outcome(state, {UpdateOutcome::InstallFailed{"校验失败"}});
    EXPECT_TRUE(state.running);
    EXPECT_TRUE(state.manual);
    EXPECT_EQ(state.deferred_version, "1.6.0");
    EXPECT_EQ(take_outcome(state), UpdateOutcome{UpdateOutcome::InstallFailed{"校验失败"}});
    EXPECT_TRUE(state.running);
}

TEST(UpdateState, EveryVariantSurvivesTheHandOff) {
    reset_shared_state();
    const std::vector<UpdateOutcome> outcomes = {
        {UpdateOutcome::UpToDate{}},
        {UpdateOutcome::CheckFailed{"发布清单缺少版本号。"}},
        {UpdateOutcome::Available{sample_manifest()}},
        {UpdateOutcome::InstallStarted{}},
        {UpdateOutcome::InstallFailed{"下载失败"}},
    };
    for (const UpdateOutcome& outcome : outcomes) {
        store_update_outcome(outcome);
        EXPECT_EQ(take_update_outcome(), outcome);
        EXPECT_TRUE(take_update_outcome().empty());
    }
}

TEST(UpdateState, SharedRecordIsOneRecord) {
    reset_shared_state();
    {
        LockedUpdateState locked = lock_update_state();
        locked->running = true;
        locked->deferred_version = "2.0.0";
    }
    store_update_outcome({UpdateOutcome::UpToDate{}});
    {
        LockedUpdateState locked = lock_update_state();
        EXPECT_TRUE(locked->running);
        EXPECT_EQ(locked->deferred_version, "2.0.0");
        EXPECT_EQ(locked->outcome, UpdateOutcome{UpdateOutcome::UpToDate{}});
    }
    reset_shared_state();
}

// A background thread stores results while the user-interface thread takes
// them: every taken outcome is one the thread stored, in order, and the last
// one stored is either taken or still pending at the end.
TEST(UpdateState, TwoThreadsStoreAndTake) {
    reset_shared_state();
    constexpr int count = 20000;
    std::thread writer([] {
        for (int i = 1; i <= count; ++i) store_update_outcome({UpdateOutcome::CheckFailed{std::to_string(i)}});
    });
    int last_seen = 0;
    bool ordered = true;
    while (last_seen < count) {
        const UpdateOutcome taken = take_update_outcome();
        if (taken.empty()) {
            std::this_thread::yield();
            continue;
        }
        const auto* failed = std::get_if<UpdateOutcome::CheckFailed>(&taken.value);
        ASSERT_NE(failed, nullptr);
        const int value = std::stoi(failed->message);
        if (value <= last_seen) ordered = false;
        last_seen = value;
    }
    writer.join();
    EXPECT_TRUE(ordered);
    EXPECT_EQ(last_seen, count);
    EXPECT_TRUE(take_update_outcome().empty());
}

}  // namespace
