#pragma once

// Sample-slot pictures rendered on a thread of their own, so the editor never waits for one: a new request
// replaces one still waiting and stops the one being rendered, and only the newest request's picture is
// delivered.
#include "host/render/sample_slot.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace host {

class SlotRenderer {
public:
    // `finished` is called on the render thread whenever a picture is ready to take.
    explicit SlotRenderer(std::function<void()> finished);
    SlotRenderer(const SlotRenderer&) = delete;
    SlotRenderer& operator=(const SlotRenderer&) = delete;
    // Stops the render under way and waits for the thread to end.
    ~SlotRenderer();

    // Renders `map` with `settings`; the map must live until the picture is taken, a newer request is made
    // or the renderer is destroyed.
    void Request(Texmap& map, const SlotSettings& settings);
    // The picture of the newest request, once it is finished and not taken yet.
    std::optional<SlotPicture> TakePicture();
    // Requests made so far, and requests dropped (unrendered, or given up) because a newer one came.
    std::uint64_t Requests() const;
    std::uint64_t Dropped() const;

private:
    struct Job {
        Texmap* map;
        SlotSettings settings;
        std::uint64_t number;
    };
    void Run();

    std::function<void()> finished;
    mutable std::mutex lock;
    std::condition_variable wake;
    std::optional<Job> waiting;
    std::optional<SlotPicture> picture;
    std::uint64_t requests = 0;
    std::uint64_t dropped = 0;
    bool stopping = false;
    std::atomic<bool> cancel{false};
    std::thread thread; // last: starts once everything it uses exists
};

} // namespace host
