#include "audio/OutputStream.h"

#include "platform/ProcessPriority.h"
#include "synth/ToneSynthesizer.h"

#include <new>
#include <utility>

namespace tarvel::audio {

OutputStream::OutputStream(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB, DeviceFactory factory)
    : vfoA_(vfoA), vfoB_(vfoB), factory_(std::move(factory)) {}

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
    buffersSubmitted_ = 0;
    device_.reset();
    device_ = factory_ ? factory_() : nullptr;
    if (!device_) {
        workerFailed_ = true;
        return;
    }
    worker_ = std::jthread([this, device = device_.get()](std::stop_token stop) { run(stop, *device); });
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

void OutputStream::run(std::stop_token stop, AudioDevice& device) {
    platform::leaveInheritedTimeCritical();
    const std::int32_t bytes = bufferBytes_.load();
    const int frames = bytes / 4;
    // A size of less than one frame (a buffer field holding 0 or a negative value) cannot be played:
    // end as after a failed open instead of spinning on empty buffers.
    if (frames <= 0 || !device.open(frames)) {
        workerFailed_ = true;
        return;
    }
    // One zero-filled block: output buffers 0 and 1, then the VFO A and VFO B blocks of frames + 1.
    const std::size_t stereo = 2 * static_cast<std::size_t>(frames);
    const std::size_t block = static_cast<std::size_t>(frames) + 1;
    std::unique_ptr<std::int16_t[]> memory(new (std::nothrow) std::int16_t[2 * stereo + 2 * block]());
    if (!memory) {
        device.close();
        workerFailed_ = true;
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
    while (!stop.stop_requested()) {
        if (!device.submit(buffers[i], frames)) {
            workerFailed_ = true;
            break;
        }
        buffersSubmitted_.fetch_add(1);
        if (!device.waitForCompletion()) {
            workerFailed_ = true;
            break;
        }
        i = 1 - i;
        fill(buffers[i]);
    }

    device.reset();
    memory.reset();
    device.close();
    vfoA_.time = 0.0;
    vfoB_.time = 0.0;
}

} // namespace tarvel::audio
