// The material editor's sample slot: what the picture shows of the map, and the render thread that keeps
// only the newest picture.
#include "host/render/sample_slot.h"
#include "host/render/slot_renderer.h"
#include "render_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

namespace {

using host::RenderSampleSlot;
using host::SlotPicture;
using host::SlotSettings;
using host::SlotShape;

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

Rgb At(const SlotPicture& picture, int x, int y) {
    const std::uint8_t* p = &picture.bgrx[(static_cast<std::size_t>(y) * picture.width + x) * 4];
    return {p[2], p[1], p[0]};
}

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

SlotSettings Settings(SlotShape shape, bool checker = false) {
    return SlotSettings{shape, checker, 64, 64, 0};
}

TEST(SampleSlot, ShowsTheMapLitFromTheUpperLeftOnAGreyBackground) {
    render_test::ProbeMap red([](ShadeContext&) { return AColor(1.0f, 0.0f, 0.0f); });
    const SlotPicture picture = *RenderSampleSlot(red, Settings(SlotShape::Sphere));
    ASSERT_EQ(picture.width, 64);
    ASSERT_EQ(picture.bgrx.size(), 64u * 64u * 4u);
    const Rgb background{89, 89, 89};
    EXPECT_EQ(At(picture, 0, 0), background);
    EXPECT_EQ(At(picture, 63, 63), background);
    // Away from the highlight the sphere is the map's red, shaded: brighter towards the key light.
    const Rgb lit = At(picture, 22, 40), shaded = At(picture, 46, 46);
    EXPECT_EQ(lit.g, 0) << lit;
    EXPECT_EQ(shaded.b, 0) << shaded;
    EXPECT_GT(lit.r, shaded.r + 40) << lit << " " << shaded;
    EXPECT_GT(shaded.r, 0) << "the ambient and fill lights leave no part black";
}

TEST(SampleSlot, TheMapSeesTheObjectsFacesCoordinatesAndTheEditor) {
    std::mutex seenLock;
    std::set<int> faces;
    bool inEditor = true;
    float minU = 1.0f, maxU = 0.0f;
    render_test::ProbeMap probe([&](ShadeContext& sc) {
        std::lock_guard<std::mutex> guard(seenLock);
        faces.insert(sc.FaceNumber());
        inEditor = inEditor && sc.InMtlEditor();
        minU = std::min(minU, sc.UVW(1).x);
        maxU = std::max(maxU, sc.UVW(1).x);
        return AColor(0.5f, 0.5f, 0.5f);
    });
    ASSERT_TRUE(RenderSampleSlot(probe, Settings(SlotShape::Box)));
    EXPECT_EQ(faces.size(), 3u) << "a box turned towards the camera shows three faces";
    EXPECT_TRUE(inEditor);
    EXPECT_LT(minU, 0.1f);
    EXPECT_GT(maxU, 0.9f);

    faces.clear();
    ASSERT_TRUE(RenderSampleSlot(probe, Settings(SlotShape::Cylinder)));
    EXPECT_EQ(faces, (std::set<int>{0, 1})) << "the cylinder's side and top, not its bottom";
}

TEST(SampleSlot, ATransparentMapShowsTheCheckerBehind) {
    render_test::ProbeMap clear([](ShadeContext&) { return AColor(1.0f, 0.0f, 0.0f, 0.0f); });
    const SlotPicture plain = *RenderSampleSlot(clear, Settings(SlotShape::Sphere));
    EXPECT_EQ(At(plain, 32, 32), (Rgb{89, 89, 89}));
    const SlotPicture checker = *RenderSampleSlot(clear, Settings(SlotShape::Sphere, true));
    // Cells of an eighth of the slot, light at the top left.
    EXPECT_EQ(At(checker, 0, 0), (Rgb{191, 191, 191}));
    EXPECT_EQ(At(checker, 8, 0), (Rgb{51, 51, 51}));
    EXPECT_EQ(At(checker, 32, 32), (Rgb{191, 191, 191}));
    EXPECT_EQ(At(checker, 31, 32), (Rgb{51, 51, 51}));
}

TEST(SampleSlot, ACancelledRenderGivesNoPicture) {
    render_test::ProbeMap red([](ShadeContext&) { return AColor(1.0f, 0.0f, 0.0f); });
    const std::atomic<bool> cancelled{true};
    EXPECT_FALSE(RenderSampleSlot(red, Settings(SlotShape::Sphere), &cancelled));
    const std::atomic<bool> going{false};
    EXPECT_TRUE(RenderSampleSlot(red, Settings(SlotShape::Sphere), &going));
}

// Counts the pictures announced by a slot renderer and lets a test wait for the next one.
class Announcements {
public:
    void Announce() {
        std::lock_guard<std::mutex> guard(lock);
        ++count;
        changed.notify_all();
    }
    bool WaitFor(int wanted) {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, std::chrono::seconds(30), [&] { return count >= wanted; });
    }
    int Count() {
        std::lock_guard<std::mutex> guard(lock);
        return count;
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    int count = 0;
};

TEST(SlotRenderer, ANewerRequestDropsTheRenderUnderWay) {
    // The first map holds its first sample until the second request has been made.
    std::mutex gate;
    std::condition_variable opened;
    bool started = false, released = false;
    render_test::ProbeMap slow([&](ShadeContext&) {
        std::unique_lock<std::mutex> guard(gate);
        if (!started) {
            started = true;
            opened.notify_all();
            opened.wait(guard, [&] { return released; });
        }
        return AColor(1.0f, 0.0f, 0.0f);
    });
    render_test::ProbeMap green([](ShadeContext&) { return AColor(0.0f, 1.0f, 0.0f); });
    Announcements announced;
    host::SlotRenderer renderer([&] { announced.Announce(); });
    renderer.Request(slow, Settings(SlotShape::Sphere));
    {
        std::unique_lock<std::mutex> guard(gate);
        ASSERT_TRUE(opened.wait_for(guard, std::chrono::seconds(30), [&] { return started; }));
    }
    renderer.Request(green, Settings(SlotShape::Sphere));
    {
        std::lock_guard<std::mutex> guard(gate);
        released = true;
    }
    opened.notify_all();
    ASSERT_TRUE(announced.WaitFor(1));
    const std::optional<SlotPicture> picture = renderer.TakePicture();
    ASSERT_TRUE(picture);
    const Rgb centre = At(*picture, 40, 44);
    EXPECT_EQ(centre.r, 0) << centre;
    EXPECT_GT(centre.g, 0) << centre;
    EXPECT_EQ(renderer.Requests(), 2u);
    EXPECT_EQ(renderer.Dropped(), 1u);
    EXPECT_EQ(announced.Count(), 1) << "the dropped render announced nothing";
    EXPECT_FALSE(renderer.TakePicture()) << "a picture is taken once";
}

TEST(SlotRenderer, ThePictureTakenIsTheNewestRequests) {
    render_test::ProbeMap red([](ShadeContext&) { return AColor(1.0f, 0.0f, 0.0f); });
    render_test::ProbeMap blue([](ShadeContext&) { return AColor(0.0f, 0.0f, 1.0f); });
    Announcements announced;
    host::SlotRenderer renderer([&] { announced.Announce(); });
    for (int i = 0; i < 20; ++i)
        renderer.Request(i % 2 == 0 ? red : blue, Settings(SlotShape::Box));
    // Whichever renders were dropped, the last request is never dropped, and its picture comes last.
    ASSERT_TRUE(announced.WaitFor(1));
    while (renderer.Dropped() + static_cast<std::uint64_t>(announced.Count()) < renderer.Requests())
        announced.WaitFor(announced.Count() + 1);
    std::optional<SlotPicture> last;
    while (std::optional<SlotPicture> picture = renderer.TakePicture())
        last = std::move(picture);
    ASSERT_TRUE(last);
    const Rgb centre = At(*last, 32, 40);
    EXPECT_EQ(centre.r, 0) << centre;
    EXPECT_GT(centre.b, 0) << centre;
}

} // namespace
