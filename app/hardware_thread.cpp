#include "hardware_thread.h"

#include <QMetaObject>
#include <QObject>

#include <utility>

HardwareThread::HardwareThread(QObject &context) : context_(context), thread_([this] { run(); }) {}

HardwareThread::~HardwareThread() {
    {
        std::lock_guard lock(mutex_);
        jobs_.clear();
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void HardwareThread::onHardware(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void HardwareThread::onWindow(std::function<void()> update) {
    QMetaObject::invokeMethod(&context_, std::move(update), Qt::QueuedConnection);
}

void HardwareThread::dropPendingJobs() {
    std::lock_guard lock(mutex_);
    jobs_.clear();
}

void HardwareThread::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void HardwareThread::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_) {
            return;
        }
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        job();
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}
