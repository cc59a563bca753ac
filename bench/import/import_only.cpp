// Reads a model file with the model library exactly as the host's importer asks it to (the same
// properties and post-processing steps), and nothing more: the yardstick that `chromasift render MODEL`
// is measured against.
//
//   import_only MODEL [--triangulate]
#include "host/import/model_import_flags.h"

#include <assimp/scene.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--triangulate") != 0)) {
        std::fprintf(stderr, "usage: import_only MODEL [--triangulate]\n");
        return 2;
    }
    Assimp::Importer importer;
    const unsigned flags = host::ConfigureModelImporter(importer, argc == 3);
    const aiScene* scene = importer.ReadFile(argv[1], flags);
    if (scene == nullptr) {
        std::fprintf(stderr, "import_only: %s: %s\n", argv[1], importer.GetErrorString());
        return 1;
    }
    unsigned long long faces = 0, vertices = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        faces += scene->mMeshes[m]->mNumFaces;
        vertices += scene->mMeshes[m]->mNumVertices;
    }
    std::printf("%u meshes, %llu faces, %llu vertices\n", scene->mNumMeshes, faces, vertices);
    return 0;
}
