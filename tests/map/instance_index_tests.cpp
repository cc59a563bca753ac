// "Per Face" finds an object's render mesh through an index of the render's instances.
#include "map/instance_index.h"

#include "hostsdk/tri_object.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A render's instance list that tests can grow.
class Instances : public RenderGlobalContext {
public:
    int NumRenderInstances() override { return static_cast<int>(list.size()); }
    RenderInstance* GetRenderInstance(int i) override {
        return i >= 0 && i < NumRenderInstances() ? list[static_cast<std::size_t>(i)].get() : nullptr;
    }
    RenderInstance* Add(Object* object) {
        list.push_back(std::make_unique<RenderInstance>());
        list.back()->SetEvalObject(object);
        return list.back().get();
    }
    std::vector<std::unique_ptr<RenderInstance>> list;
};

TEST(InstanceIndex, FindsTheFirstInstanceOfEachObjectInItsRender) {
    TriObject shared, alone, later, absent;
    Instances render;
    RenderInstance* first = render.Add(&shared);
    RenderInstance* aloneInstance = render.Add(&alone);
    render.Add(&shared);
    InstanceIndex index;
    EXPECT_EQ(index.FirstFor(render, &shared), first) << "an object instanced twice gives its first";
    EXPECT_EQ(index.FirstFor(render, &alone), aloneInstance);
    EXPECT_EQ(index.FirstFor(render, &absent), nullptr);

    // An instance added since the last call is found: the count changed.
    RenderInstance* laterInstance = render.Add(&later);
    EXPECT_EQ(index.FirstFor(render, &later), laterInstance);

    // Another render with as many instances is indexed on its own.
    Instances other;
    for (int i = 0; i < render.NumRenderInstances(); ++i)
        other.Add(&absent);
    EXPECT_EQ(index.FirstFor(other, &shared), nullptr);
    EXPECT_EQ(index.FirstFor(other, &absent), other.GetRenderInstance(0));

    // The next frame of a range render: the same context, as many instances, made anew in another order.
    other.list.clear();
    RenderInstance* again = other.Add(&alone);
    for (Object* object : {&shared, &shared, &later})
        other.Add(object);
    EXPECT_EQ(index.FirstFor(other, &alone), again);
    EXPECT_EQ(index.FirstFor(other, &shared), other.GetRenderInstance(1));
    EXPECT_EQ(index.FirstFor(other, &absent), nullptr);
}

} // namespace
