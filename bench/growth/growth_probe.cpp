// The C++ half of the growth measurements (growth.py runs it): writes the scene files the tool is
// measured on, and times the steps that the tool's commands do not time on their own. Each timed
// command prints "seconds S", the processor time of its step alone (the machine may be shared: wall time
// would count other programs' turns too); the process's peak memory is read by the caller.
//
//   growth_probe scene OUT.json NODES ELEMENTS FACES_PER_ELEMENT   write a scene of grids
//   growth_probe number KIND ELEMENTS FACES_PER_ELEMENT            time one pre-render numbering of a
//       mesh of grids; KIND: mesh-elements, mesh-polygons, mesh-shading, poly-elements, poly-polygons
//   growth_probe load SCENE.json                                    time loading a scene file
//   growth_probe save SCENE.json OUT.json                           load, then time saving it again
#include "grid_meshes.h"
#include "grid_scene_file.h"

#include "render_test_support.h"

#include "host/base/platform.h"
#include "host/base/plugin_library.h"
#include "host/scene/scene_file.h"
#include "shade/mesh_numbering.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/path_config.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

namespace {

// Processor time of every thread of the process; the steps timed run on this thread alone.
double SecondsOf(const std::function<void()>& step) {
    const std::clock_t start = std::clock();
    step();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

int Count(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != 0 || value < 1 || value > 100000000)
        throw std::runtime_error(std::string("not a count: ") + text);
    return static_cast<int>(value);
}

int Number(const std::string& kind, int elements, int facesPerElement) {
    double seconds = 0.0;
    int faces = 0;
    if (kind.rfind("mesh-", 0) == 0) {
        Mesh mesh = growth::GridMesh(elements, facesPerElement);
        faces = mesh.getNumFaces();
        if (kind == "mesh-elements")
            seconds = SecondsOf([&] { NumberElements(mesh); });
        else if (kind == "mesh-polygons")
            seconds = SecondsOf([&] { NumberPolygons(mesh); });
        else if (kind == "mesh-shading")
            seconds = SecondsOf([&] { NumberPolygonsForShading(mesh); });
        else
            return 2;
    } else {
        MNMesh mesh = growth::GridPolygons(elements, facesPerElement);
        faces = mesh.numf;
        if (kind == "poly-elements")
            seconds = SecondsOf([&] { NumberElements(mesh); });
        else if (kind == "poly-polygons")
            seconds = SecondsOf([&] { NumberPolygons(mesh); });
        else
            return 2;
    }
    std::printf("faces %d\nseconds %.6f\n", faces, seconds);
    return 0;
}

int Run(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "scene" && argc == 6) {
        const growth::GridSceneSize size{Count(argv[3]), Count(argv[4]), Count(argv[5])};
        return growth::WriteGridScene(argv[2], size) ? 0 : 1;
    }
    if (command == "number" && argc == 5)
        return Number(argv[2], Count(argv[3]), Count(argv[4]));
    if (command == "load" && argc == 3) {
        std::unique_ptr<host::SceneRoot> scene;
        const double seconds =
            SecondsOf([&] { scene = host::LoadScene(argv[2], render_test::LoadedPlugins()); });
        std::printf("seconds %.6f\n", seconds);
        return 0;
    }
    if (command == "save" && argc == 4) {
        std::unique_ptr<host::SceneRoot> scene = host::LoadScene(argv[2], render_test::LoadedPlugins());
        const double seconds = SecondsOf([&] { host::SaveScene(*scene, argv[3]); });
        std::printf("seconds %.6f\n", seconds);
        return 0;
    }
    std::fprintf(stderr, "usage: see the comment at the top of bench/growth/growth_probe.cpp\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "growth_probe: %s\n", e.what());
        return 1;
    }
}
