#pragma once

// What the tool tells about a loaded scene before it renders, as the host's missing-files report does:
// the pictures its maps name that are not there, and a scene with nothing to draw.
#include "host/scene/scene.h"

#include <ostream>
#include <string>
#include <vector>

namespace host {

// A picture file a map names that does not exist or cannot be read, with the map's name as the user knows
// it and, for a file that exists, why it cannot be read ("the image is damaged or truncated").
struct MissingPicture {
    std::string file;
    std::string map;
    std::string unreadable; // empty for a file that does not exist
};

// The missing and unreadable pictures of every map the scene reaches (a Chromasift map's "Bitmapname", a
// bitmap map's file), each file once, a Chromasift map before the bitmap maps that show the same file. A
// map shows an unreadable picture as it shows a missing one: not at all.
std::vector<MissingPicture> FindMissingPictures(SceneRoot& scene);

// True when a render at `t` draws nothing: no visible node holds renderable geometry.
bool HasNothingToDraw(SceneRoot& scene, TimeValue t);

// Names each missing or unreadable picture and its map on `err`, and warns when the scene has nothing to
// draw. Such pictures make a render black where the maps would show: unless `allowMissing`, throws
// std::runtime_error after naming them. `origin` names the scene in messages.
void CheckSceneBeforeRender(SceneRoot& scene, const std::string& origin, bool allowMissing,
                            std::ostream& err);

} // namespace host
