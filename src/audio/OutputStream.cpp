#include "audio/OutputStream.h"

#include "platform/ProcessPriority.h"
#include "synth/ToneSynthesizer.h"

#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <new>
#include <stop_token>
#include <utility>

namespace tarvel::audio {

std::atomic<bool> OutputStream::anyLeftBehind_{false};

namespace {

// Whether a move already played (the last kRecent words) or still waiting brings VFO A to word.
template <std::size_t kRecent>
bool movedTo(std::int32_t word, const std::int32_t (&recent)[kRecent], std::size_t recentCount,
             const VfoAMove* pending, std::size_t pendingFirst, std::size_t pendingCount) {
    for (std::size_t k = 0; k < std::min(recentCount, kRecent); ++k)
        if (recent[k] == word)
            return true;
    for (std::size_t k = 0; k < pendingCount; ++k)
        if (static_cast<std::int32_t>(static_cast<std::uint32_t>(
                pending[(pendingFirst + k) % VfoAMoveQueue::kCapacity].word)) == word)
            return true;
    return false;
}

std::int64_t monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

} // namespace

struct OutputStream::Worker {
    Worker(std::uint64_t number, std::unique_ptr<AudioDevice> device)
        : number(number), device(std::move(device)) {}

    // Set before the worker plays, under the mutex when it was made by a probe.
    std::uint64_t number;
    const std::unique_ptr<AudioDevice> device;
    std::stop_source stop;
    std::atomic<std::int64_t> buffersSubmitted{0};
    std::atomic<bool> failed{false};
    ClockPairRing clockPairs;
    VfoAMoveQueue vfoAMoves;
    std::atomic<std::uint64_t> vfoAMoveDrops{0};
    std::atomic<std::int64_t> lateVfoAMoves{0};
    std::int64_t droppedVfoAMoves = 0; // the user-interface thread's own

    // Guards the fields below, and every use the worker makes of the stream (the channels, the notice):
    // the stream leaves a worker behind under it, so a worker that wakes up later touches nothing.
    mutable std::mutex mutex;
    std::condition_variable endedChanged;
    bool ended = false;
    bool leftBehind = false;
    std::string reason;
    // A worker made by a probe: it opens the device first, tells whether it could (answered, present),
    // then waits for the stream to start it (go, with the buffer size) or to drop it (dropped).
    bool answered = false;
    bool present = false;
    bool go = false;
    bool dropped = false;
    std::int32_t bytes = 0;
    // Opened ahead: the stopped worker to wait for first, so that two workers never share a sound card.
    bool ahead = false;
    std::shared_ptr<Worker> previous;
    std::chrono::milliseconds previousLimit{0};
};

OutputStream::OutputStream(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB, DeviceFactory factory,
                           FailureNotice notice)
    : vfoA_(vfoA), vfoB_(vfoB), factory_(std::move(factory)), notice_(std::move(notice)) {}

OutputStream::~OutputStream() {
    dropProbed();
    stopAndWait();
}

bool OutputStream::probe() {
    if (thread_.joinable() && worker_->stop.stop_requested())
        waitForWorker();
    if (heldAhead()) {
        // The device opened ahead answers here as a probe's would; one that is not there is opened again.
        std::shared_ptr<Worker> worker = std::move(probed_);
        std::thread thread = std::move(probedThread_);
        probeUnanswered_ = false;
        if (awaitAnswer(worker, thread)) {
            probed_ = std::move(worker);
            probedThread_ = std::move(thread);
            return true;
        }
        if (probeUnanswered_)
            return false;
    }
    dropProbed();
    probeUnanswered_ = false;
    std::unique_ptr<AudioDevice> device = factory_ ? factory_() : nullptr;
    if (!device)
        return false;
    // The probe is the opening of the worker that plays next: its thread opens the device and keeps it,
    // so Start costs one open and no second thread. Opening a device behind a stalled sound server may
    // not return: the worker is left behind when it does not answer in time.
    auto worker = std::make_shared<Worker>(0, std::move(device));
    std::thread thread([this, worker] { runProbed(worker); });
    if (!awaitAnswer(worker, thread))
        return false;
    probed_ = std::move(worker);
    probedThread_ = std::move(thread);
    probedAhead_ = false;
    return true;
}

bool OutputStream::awaitAnswer(const std::shared_ptr<Worker>& worker, std::thread& thread) {
    std::unique_lock lock(worker->mutex);
    if (!worker->endedChanged.wait_for(lock, waitLimit_, [&] { return worker->answered; })) {
        worker->leftBehind = true;
        lock.unlock();
        thread.detach();
        anyLeftBehind_ = true;
        probeUnanswered_ = true;
        return false;
    }
    const bool present = worker->present;
    lock.unlock();
    if (!present)
        thread.join();
    return present;
}

bool OutputStream::openAhead() {
    if (playing_ || probed_ || !factory_ || (thread_.joinable() && !worker_->stop.stop_requested()))
        return false;
    std::unique_ptr<AudioDevice> device = factory_();
    if (!device)
        return false;
    auto worker = std::make_shared<Worker>(0, std::move(device));
    worker->ahead = true;
    if (thread_.joinable())
        worker->previous = worker_;
    worker->previousLimit = waitLimit_;
    probedThread_ = std::thread([this, worker] { runProbed(worker); });
    probed_ = std::move(worker);
    probedAhead_ = true;
    return true;
}

void OutputStream::dropProbed() {
    if (!probed_)
        return;
    {
        std::lock_guard lock(probed_->mutex);
        probed_->dropped = true;
        probed_->endedChanged.notify_all();
    }
    // It only closes the device it opened a moment ago; on a stalled server it is left behind.
    std::unique_lock lock(probed_->mutex);
    if (probed_->endedChanged.wait_for(lock, waitLimit_, [&] { return probed_->ended; })) {
        lock.unlock();
        probedThread_.join();
    } else {
        probed_->leftBehind = true;
        lock.unlock();
        probedThread_.detach();
        anyLeftBehind_ = true;
    }
    probed_.reset();
}

void OutputStream::startWorker() {
    // Here, on the caller's thread: the worker's fills then neither allocate nor compute the table.
    synth::PrepareFill();
    stopAndWait();
    vfoA_.time = 0.0;
    vfoB_.time = 0.0;
    vfoA_.phase = {};
    vfoB_.phase = {};
    const std::uint64_t number = ++workers_;
    if (probed_) {
        worker_ = std::move(probed_);
        thread_ = std::move(probedThread_);
        std::lock_guard lock(worker_->mutex);
        worker_->number = number;
        worker_->vfoAMoveDrops = moveDrops_;
        worker_->bytes = bufferBytes_.load();
        worker_->go = true;
        worker_->endedChanged.notify_all();
        return;
    }
    worker_ = std::make_shared<Worker>(number, factory_ ? factory_() : nullptr);
    worker_->vfoAMoveDrops = moveDrops_;
    if (!worker_->device) {
        report(*worker_, "no audio device");
        worker_->ended = true;
        return;
    }
    thread_ = std::thread([this, worker = worker_, bytes = bufferBytes_.load()] { run(worker, bytes); });
}

void OutputStream::runProbed(const std::shared_ptr<Worker>& self) {
    platform::leaveInheritedTimeCritical();
    Worker& worker = *self;
    bool present = false;
    if (worker.ahead) {
        // The stopped worker lets go of its device first; one that does not is stalled, and nothing is
        // opened beside it.
        bool previousEnded = true;
        if (const std::shared_ptr<Worker> previous = std::exchange(worker.previous, nullptr)) {
            std::unique_lock lock(previous->mutex);
            previousEnded =
                previous->endedChanged.wait_for(lock, worker.previousLimit, [&] { return previous->ended; });
        }
        present = previousEnded && worker.device->probe();
        if (present && !worker.device->servedBySoundServer()) {
            worker.device->close();
            present = false;
        }
    } else {
        present = worker.device->probe();
    }
    std::int32_t bytes = 0;
    {
        std::unique_lock lock(worker.mutex);
        worker.answered = true;
        worker.present = present;
        worker.endedChanged.notify_all();
        if (present)
            worker.endedChanged.wait(lock, [&] { return worker.go || worker.dropped || worker.leftBehind; });
        if (!worker.go) {
            // Never started: the stream's channels are not this worker's to touch.
            worker.ended = true;
            worker.endedChanged.notify_all();
            return;
        }
        bytes = worker.bytes;
    }
    run(self, bytes);
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

ClockPairRing* OutputStream::clockPairs() {
    return worker_ ? &worker_->clockPairs : nullptr;
}

bool OutputStream::queueVfoAMove(std::int64_t word, std::int64_t instantNs, bool continuous) {
    if (!worker_)
        return false;
    if (worker_->vfoAMoves.push({word, instantNs, continuous, moveDrops_}))
        return true;
    ++worker_->droppedVfoAMoves;
    return false;
}

void OutputStream::dropVfoAMoves() {
    ++moveDrops_;
    if (worker_)
        worker_->vfoAMoveDrops.store(moveDrops_, std::memory_order_release);
}

std::int64_t OutputStream::lateVfoAMoves() const {
    return worker_ ? worker_->lateVfoAMoves.load() : 0;
}

std::int64_t OutputStream::droppedVfoAMoves() const {
    return worker_ ? worker_->droppedVfoAMoves : 0;
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
        vfoA_.phase = {};
        vfoB_.phase = {};
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
    // VFO A's moves: those taken from the queue and not yet played, in the order queued, and the changes
    // they make inside the buffer being filled. All fixed, so the loop never allocates.
    std::unique_ptr<VfoAMove[]> pending(new (std::nothrow) VfoAMove[VfoAMoveQueue::kCapacity]);
    std::unique_ptr<synth::FrequencyChange[]> changes(new (std::nothrow)
                                                          synth::FrequencyChange[VfoAMoveQueue::kCapacity]);
    if (!pending || !changes) {
        report(worker, "out of memory for the frequency moves");
        device.close();
        finish(worker);
        return;
    }
    std::size_t pendingFirst = 0;
    std::size_t pendingCount = 0;
    std::uint64_t drops = worker.vfoAMoveDrops.load(std::memory_order_acquire);
    bool followingMoves = false; // VFO A plays the moves' word, not the stored one
    std::int32_t wordA = 0;
    // The stored word as last read, and the words the latest moves brought: while VFO A follows a keyer's
    // retunes (not continuous moves), the stored word catches up with them as each step runs, so a stored
    // word that none of them brings is the operator's own retune, which must be heard as it was before
    // moves existed, from the next buffer, and not only once the keyer queues its next retune.
    std::int32_t storedWordSeen = 0;
    bool followingRetunes = false;
    constexpr std::size_t kRecentMoves = 8;
    std::int32_t recentWords[kRecentMoves] = {};
    std::size_t recentCount = 0;
    std::int64_t written = 0; // frames filled so far: the next buffer starts at this sample
    SampleInstants instants;
    instants.assumeStart(monotonicNow());

    const auto takeMoves = [&] {
        const std::uint64_t latest = worker.vfoAMoveDrops.load(std::memory_order_acquire);
        if (latest != drops) {
            drops = latest;
            pendingCount = 0;
            followingMoves = false;
        }
        VfoAMove move;
        while (pendingCount < VfoAMoveQueue::kCapacity && worker.vfoAMoves.pop(move)) {
            if (move.generation != drops)
                continue; // queued before a drop that this worker has seen
            pending[(pendingFirst + pendingCount++) % VfoAMoveQueue::kCapacity] = move;
        }
    };
    // The moves due inside the next buffer, as changes at its samples; one due before it is late and
    // plays from its first sample.
    const auto dueChanges = [&] {
        int count = 0;
        int at = 0;
        while (pendingCount > 0) {
            const VfoAMove& move = pending[pendingFirst];
            const std::int64_t sample = instants.sampleAt(move.instantNs);
            if (sample >= written + frames)
                break;
            if (sample < written)
                worker.lateVfoAMoves.fetch_add(1);
            at = std::max(at, static_cast<int>(std::max<std::int64_t>(sample - written, 0)));
            changes[count++] = {at, static_cast<std::int32_t>(static_cast<std::uint32_t>(move.word)),
                                move.continuous};
            pendingFirst = (pendingFirst + 1) % VfoAMoveQueue::kCapacity;
            --pendingCount;
        }
        return count;
    };
    // Fills from the channels while the stream still owns this worker; false once it was left behind.
    const auto fill = [&](std::int16_t* out) {
        std::lock_guard lock(worker.mutex);
        if (worker.leftBehind)
            return false;
        takeMoves();
        const auto storedWord = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(vfoA_.frequencyWord.load(std::memory_order_relaxed)));
        if (followingMoves && followingRetunes && storedWord != storedWordSeen &&
            !movedTo(storedWord, recentWords, recentCount, pending.get(), pendingFirst, pendingCount)) {
            // Moves queued before the operator's retune carry the old frequency: the keyer's next step
            // retunes from the stored word again.
            pendingCount = 0;
            followingMoves = false;
        }
        storedWordSeen = storedWord;
        if (!followingMoves) {
            // The stored word, read once a buffer as ever.
            wordA = storedWord;
            vfoA_.phase.on = false;
        }
        const int count = dueChanges();
        synth::FillChannel(blockA, vfoA_.waveform.load(std::memory_order_relaxed),
                           vfoA_.level.load(std::memory_order_relaxed), wordA, frames, vfoA_.time,
                           vfoA_.phase, changes.get(), count);
        for (int c = 0; c < count; ++c)
            recentWords[recentCount++ % kRecentMoves] = changes[c].word;
        if (count > 0) {
            followingMoves = true;
            followingRetunes = !changes[count - 1].continuous;
            wordA = changes[count - 1].word;
        }
        synth::FillChannel(blockB, vfoB_, frames);
        synth::InterleaveChannels(out, blockA, blockB, frames);
        written += frames;
        return true;
    };

    // The device's position against the system clock, after each hand-over and each wait.
    const auto notePosition = [&] {
        AudioDevice::PlayedPosition position;
        if (device.playedPosition(position)) {
            worker.clockPairs.push(
                {position.frames, position.monotonicNs, worker.number, device.underrunCount()});
            instants.note(position.frames, position.monotonicNs);
        }
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
        notePosition();
        if (!device.waitForCompletion()) {
            failed = true;
            break;
        }
        notePosition();
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
