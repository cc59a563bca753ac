#include "host/render/slot_renderer.h"

#include <utility>

namespace host {

SlotRenderer::SlotRenderer(std::function<void()> finished_)
    : finished(std::move(finished_)), thread([this] { Run(); }) {}

SlotRenderer::~SlotRenderer() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
        cancel = true;
    }
    wake.notify_all();
    thread.join();
}

void SlotRenderer::Request(Texmap& map, const SlotSettings& settings) {
    {
        std::lock_guard<std::mutex> guard(lock);
        // A request still waiting is dropped unrendered.
        if (waiting)
            ++dropped;
        waiting = Job{&map, settings, ++requests};
        // The picture under way is out of date: the render stops at its next row.
        cancel = true;
    }
    wake.notify_all();
}

std::optional<SlotPicture> SlotRenderer::TakePicture() {
    std::lock_guard<std::mutex> guard(lock);
    return std::exchange(picture, std::nullopt);
}

std::uint64_t SlotRenderer::Requests() const {
    std::lock_guard<std::mutex> guard(lock);
    return requests;
}

std::uint64_t SlotRenderer::Dropped() const {
    std::lock_guard<std::mutex> guard(lock);
    return dropped;
}

void SlotRenderer::Run() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return stopping || waiting.has_value(); });
        if (stopping)
            return;
        const Job job = *std::exchange(waiting, std::nullopt);
        cancel = false;
        guard.unlock();
        std::optional<SlotPicture> rendered = RenderSampleSlot(*job.map, job.settings, &cancel);
        guard.lock();
        // A request made while this one rendered supersedes it, even if the render got to its end.
        if (!rendered || job.number != requests) {
            ++dropped;
            continue;
        }
        picture = std::move(rendered);
        guard.unlock();
        if (finished)
            finished();
        guard.lock();
    }
}

} // namespace host
