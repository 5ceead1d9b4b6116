// The one thread that does rigcheck's library calls, one job at a time, in
// the order they were handed over, so that a slow cable never freezes the
// window.  Results go back to the window's thread as queued calls on
// `context`, which Qt drops once `context` is gone.
#ifndef RIGCHECK_HARDWARE_THREAD_H
#define RIGCHECK_HARDWARE_THREAD_H

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "work_runner.h"

class QObject;

class HardwareThread final : public WorkRunner {
public:
    explicit HardwareThread(QObject &context);
    HardwareThread(const HardwareThread &) = delete;
    HardwareThread &operator=(const HardwareThread &) = delete;
    // Drops the jobs not yet started and waits for the one in progress.
    ~HardwareThread() override;

    void onHardware(std::function<void()> job) override;
    void onWindow(std::function<void()> update) override;
    void dropPendingJobs() override;

    // Returns once every job handed over so far has finished.
    void waitUntilIdle();

private:
    void run();

    QObject &context_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once the queue exists
};

#endif  // RIGCHECK_HARDWARE_THREAD_H
