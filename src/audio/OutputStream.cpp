#include "audio/OutputStream.h"

#include "platform/ProcessPriority.h"
#include "synth/ToneSynthesizer.h"

#include <new>
#include <utility>

namespace tarvel::audio {

OutputStream::OutputStream(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB, DeviceFactory factory,
                           FailureNotice notice)
    : vfoA_(vfoA), vfoB_(vfoB), factory_(std::move(factory)), notice_(std::move(notice)) {}

OutputStream::~OutputStream() {
    stopAndWait();
}

bool OutputStream::probe() {
    if (worker_.joinable() && worker_.get_stop_token().stop_requested())
        worker_.join();
    const std::unique_ptr<AudioDevice> device = factory_ ? factory_() : nullptr;
    return device && device->probe();
}

void OutputStream::startWorker() {
    stopAndWait();
    vfoA_.time = 0.0;
    vfoB_.time = 0.0;
    workerFailed_ = false;
    {
        std::lock_guard lock(failureMutex_);
        failureReason_.clear();
    }
    buffersSubmitted_ = 0;
    const std::uint64_t worker = ++workers_;
    device_.reset();
    device_ = factory_ ? factory_() : nullptr;
    if (!device_) {
        fail(worker, "no audio device");
        return;
    }
    worker_ = std::jthread(
        [this, device = device_.get(), worker](std::stop_token stop) { run(stop, *device, worker); });
}

void OutputStream::requestStop() {
    if (!worker_.joinable())
        return;
    worker_.request_stop();
    device_->wake();
}

void OutputStream::stopAndWait() {
    requestStop();
    if (worker_.joinable())
        worker_.join();
}

std::int64_t OutputStream::underrunCount() const {
    return device_ ? device_->underrunCount() : 0;
}

std::string OutputStream::failureReason() const {
    std::lock_guard lock(failureMutex_);
    return failureReason_;
}

void OutputStream::fail(std::uint64_t worker, std::string reason) {
    {
        std::lock_guard lock(failureMutex_);
        failureReason_ = std::move(reason);
    }
    workerFailed_ = true;
    if (notice_)
        notice_(worker);
}

void OutputStream::run(std::stop_token stop, AudioDevice& device, std::uint64_t worker) {
    platform::leaveInheritedTimeCritical();
    const std::int32_t bytes = bufferBytes_.load();
    const int frames = bytes / 4;
    // A size of less than one frame (a buffer field holding 0 or a negative value) cannot be played:
    // end as after a failed open instead of spinning on empty buffers.
    if (frames <= 0) {
        fail(worker, "buffer of " + std::to_string(bytes) + " bytes");
        return;
    }
    if (!device.open(frames)) {
        fail(worker, device.failureReason());
        return;
    }
    // One zero-filled block: output buffers 0 and 1, then the VFO A and VFO B blocks of frames + 1.
    const std::size_t stereo = 2 * static_cast<std::size_t>(frames);
    const std::size_t block = static_cast<std::size_t>(frames) + 1;
    std::unique_ptr<std::int16_t[]> memory(new (std::nothrow) std::int16_t[2 * stereo + 2 * block]());
    if (!memory) {
        device.close();
        fail(worker, "out of memory for " + std::to_string(bytes) + "-byte buffers");
        return;
    }
    std::int16_t* const buffers[2] = {memory.get(), memory.get() + stereo};
    std::int16_t* const blockA = memory.get() + 2 * stereo;
    std::int16_t* const blockB = blockA + block;
    const auto fill = [&](std::int16_t* out) {
        synth::FillChannel(blockA, vfoA_, frames);
        synth::FillChannel(blockB, vfoB_, frames);
        synth::InterleaveChannels(out, blockA, blockB, frames);
    };

    fill(buffers[0]);
    int i = 0;
    bool failed = false;
    while (!stop.stop_requested()) {
        if (!device.submit(buffers[i], frames)) {
            failed = true;
            break;
        }
        buffersSubmitted_.fetch_add(1);
        if (!device.waitForCompletion()) {
            failed = true;
            break;
        }
        i = 1 - i;
        fill(buffers[i]);
    }

    device.reset();
    memory.reset();
    const std::string reason = failed ? device.failureReason() : std::string();
    device.close();
    vfoA_.time = 0.0;
    vfoB_.time = 0.0;
    // Told last, when the device is closed: the news may lead straight to a new start.
    if (failed)
        fail(worker, reason);
}

} // namespace tarvel::audio
