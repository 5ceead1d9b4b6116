// Where HwMain's work runs: the library calls on the hardware side, the
// window's updates on the window's side.  The window's runner is a worker
// thread (hardware_thread.h); the inline runner does both at once, in the
// caller's thread, which is the order the window's events ask for.
#ifndef RIGCHECK_WORK_RUNNER_H
#define RIGCHECK_WORK_RUNNER_H

#include <functional>

class WorkRunner {
public:
    virtual ~WorkRunner() = default;
    // Runs `job` after every job handed over before it.
    virtual void onHardware(std::function<void()> job) = 0;
    // Runs `update` in the window's thread, after the updates handed over
    // before it.
    virtual void onWindow(std::function<void()> update) = 0;
    // Forgets the jobs that have not started yet.
    virtual void dropPendingJobs() = 0;
};

class InlineRunner final : public WorkRunner {
public:
    void onHardware(std::function<void()> job) override { job(); }
    void onWindow(std::function<void()> update) override { update(); }
    void dropPendingJobs() override {}
};

#endif  // RIGCHECK_WORK_RUNNER_H
