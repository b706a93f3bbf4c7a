#include "platform/SideThread.h"

#include <pthread.h>

namespace tarvel::platform {

SideThread::SideThread(std::function<void()> work) : thread_(std::move(work)) {
    CPU_ZERO(&allowed_);
    if (::sched_getaffinity(0, sizeof allowed_, &allowed_) != 0)
        return;
    const int here = ::sched_getcpu();
    if (here < 0 || !CPU_ISSET(here, &allowed_) || CPU_COUNT(&allowed_) < 2)
        return;
    cpu_set_t elsewhere = allowed_;
    CPU_CLR(here, &elsewhere);
    narrowed_ = ::pthread_setaffinity_np(thread_.native_handle(), sizeof elsewhere, &elsewhere) == 0;
}

SideThread::~SideThread() {
    join();
}

void SideThread::join() {
    if (!thread_.joinable())
        return;
    // Fails harmlessly if the thread has already ended.
    if (narrowed_)
        ::pthread_setaffinity_np(thread_.native_handle(), sizeof allowed_, &allowed_);
    thread_.join();
}

} // namespace tarvel::platform
