#include "audio/OutputStream.h"

#include "platform/ProcessPriority.h"
#include "synth/ToneSynthesizer.h"

#include <condition_variable>
#include <mutex>
#include <new>
#include <stop_token>
#include <utility>

namespace tarvel::audio {

std::atomic<bool> OutputStream::anyLeftBehind_{false};

struct OutputStream::Worker {
    Worker(std::uint64_t number, std::unique_ptr<AudioDevice> device)
        : number(number), device(std::move(device)) {}

    const std::uint64_t number;
    const std::unique_ptr<AudioDevice> device;
    std::stop_source stop;
    std::atomic<std::int64_t> buffersSubmitted{0};
    std::atomic<bool> failed{false};

    // Guards the fields below, and every use the worker makes of the stream (the channels, the notice):
    // the stream leaves a worker behind under it, so a worker that wakes up later touches nothing.
    mutable std::mutex mutex;
    std::condition_variable endedChanged;
    bool ended = false;
    bool leftBehind = false;
    std::string reason;
};

OutputStream::OutputStream(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB, DeviceFactory factory,
                           FailureNotice notice)
    : vfoA_(vfoA), vfoB_(vfoB), factory_(std::move(factory)), notice_(std::move(notice)) {}

OutputStream::~OutputStream() {
    stopAndWait();
}

bool OutputStream::probe() {
    if (thread_.joinable() && worker_->stop.stop_requested())
        waitForWorker();
    probeUnanswered_ = false;
    const std::shared_ptr<AudioDevice> device = factory_ ? factory_() : nullptr;
    if (!device)
        return false;
    // Opening a device behind a stalled sound server may not return: the probe runs on a thread of its
    // own, which is left behind when it does not answer in time.
    struct Answer {
        std::mutex mutex;
        std::condition_variable given;
        bool done = false;
        bool present = false;
    };
    const auto answer = std::make_shared<Answer>();
    std::thread prober([answer, device] {
        const bool present = device->probe();
        std::lock_guard lock(answer->mutex);
        answer->done = true;
        answer->present = present;
        answer->given.notify_all();
    });
    std::unique_lock lock(answer->mutex);
    if (!answer->given.wait_for(lock, waitLimit_, [&] { return answer->done; })) {
        lock.unlock();
        prober.detach();
        anyLeftBehind_ = true;
        probeUnanswered_ = true;
        return false;
    }
    const bool present = answer->present;
    lock.unlock();
    prober.join();
    return present;
}

void OutputStream::startWorker() {
    stopAndWait();
    vfoA_.time = 0.0;
    vfoB_.time = 0.0;
    const std::uint64_t number = ++workers_;
    worker_ = std::make_shared<Worker>(number, factory_ ? factory_() : nullptr);
    if (!worker_->device) {
        report(*worker_, "no audio device");
        worker_->ended = true;
        return;
    }
    thread_ = std::thread([this, worker = worker_, bytes = bufferBytes_.load()] { run(worker, bytes); });
}

void OutputStream::requestStop() {
    if (!thread_.joinable())
        return;
    worker_->stop.request_stop();
    worker_->device->wake();
}

bool OutputStream::stopAndWait() {
    requestStop();
    return waitForWorker();
}

bool OutputStream::waitForWorker() {
    if (!thread_.joinable())
        return true;
    {
        std::unique_lock lock(worker_->mutex);
        if (!worker_->endedChanged.wait_for(lock, waitLimit_, [&] { return worker_->ended; })) {
            worker_->leftBehind = true;
            lock.unlock();
            thread_.detach();
            anyLeftBehind_ = true;
            return false;
        }
    }
    thread_.join();
    return true;
}

std::string OutputStream::leftBehindNotice() const {
    return "the sound device did not stop within " + std::to_string(waitLimit_.count()) +
           " ms (the sound server or device stalled); the program ends without waiting for it";
}

bool OutputStream::workerFailed() const {
    return worker_ && worker_->failed.load();
}

std::string OutputStream::failureReason() const {
    if (!worker_)
        return {};
    std::lock_guard lock(worker_->mutex);
    return worker_->reason;
}

std::int64_t OutputStream::buffersSubmitted() const {
    return worker_ ? worker_->buffersSubmitted.load() : 0;
}

std::int64_t OutputStream::underrunCount() const {
    return worker_ && worker_->device ? worker_->device->underrunCount() : 0;
}

void OutputStream::report(Worker& worker, std::string reason) {
    std::lock_guard lock(worker.mutex);
    if (worker.leftBehind)
        return;
    worker.reason = std::move(reason);
    worker.failed = true;
    if (notice_)
        notice_(worker.number);
}

void OutputStream::finish(Worker& worker) {
    std::lock_guard lock(worker.mutex);
    if (!worker.leftBehind) {
        vfoA_.time = 0.0;
        vfoB_.time = 0.0;
    }
    worker.ended = true;
    worker.endedChanged.notify_all();
}

void OutputStream::run(const std::shared_ptr<Worker>& self, std::int32_t bytes) {
    platform::leaveInheritedTimeCritical();
    Worker& worker = *self;
    AudioDevice& device = *worker.device;
    const std::stop_token stop = worker.stop.get_token();
    const int frames = bytes / 4;
    // A size of less than one frame (a buffer field holding 0 or a negative value) cannot be played:
    // end as after a failed open instead of spinning on empty buffers.
    if (frames <= 0) {
        report(worker, "buffer of " + std::to_string(bytes) + " bytes");
        finish(worker);
        return;
    }
    if (!device.open(frames)) {
        report(worker, device.failureReason());
        finish(worker);
        return;
    }
    // One zero-filled block: output buffers 0 and 1, then the VFO A and VFO B blocks of frames + 1.
    const std::size_t stereo = 2 * static_cast<std::size_t>(frames);
    const std::size_t block = static_cast<std::size_t>(frames) + 1;
    std::unique_ptr<std::int16_t[]> memory(new (std::nothrow) std::int16_t[2 * stereo + 2 * block]());
    if (!memory) {
        report(worker, "out of memory for " + std::to_string(bytes) + "-byte buffers");
        device.close();
        finish(worker);
        return;
    }
    std::int16_t* const buffers[2] = {memory.get(), memory.get() + stereo};
    std::int16_t* const blockA = memory.get() + 2 * stereo;
    std::int16_t* const blockB = blockA + block;
    // Fills from the channels while the stream still owns this worker; false once it was left behind.
    const auto fill = [&](std::int16_t* out) {
        std::lock_guard lock(worker.mutex);
        if (worker.leftBehind)
            return false;
        synth::FillChannel(blockA, vfoA_, frames);
        synth::FillChannel(blockB, vfoB_, frames);
        synth::InterleaveChannels(out, blockA, blockB, frames);
        return true;
    };

    int i = 0;
    bool failed = false;
    bool owned = fill(buffers[0]);
    while (owned && !stop.stop_requested()) {
        if (!device.submit(buffers[i], frames)) {
            failed = true;
            break;
        }
        worker.buffersSubmitted.fetch_add(1);
        if (!device.waitForCompletion()) {
            failed = true;
            break;
        }
        i = 1 - i;
        owned = fill(buffers[i]);
    }

    // Told before the device is let go: on a stalled sound server, dropping and closing may block.
    if (failed)
        report(worker, device.failureReason());
    device.reset();
    memory.reset();
    device.close();
    finish(worker);
}

} // namespace tarvel::audio
