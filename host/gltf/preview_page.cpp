#include "host/gltf/preview_page.h"

#include "host/gltf/viewer_scripts.h"

namespace host {

namespace {

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EscapeHtml(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped.push_back(c);
        }
    }
    return escaped;
}

const char* const kStyle = R"(<style>
html, body { margin: 0; height: 100%; background: #2b2b2b; color: #ddd; font: 14px sans-serif; }
body { display: flex; }
#view { flex: 1; min-width: 0; }
#palette { width: 180px; padding: 12px; overflow-y: auto; background: #222; }
#palette h2 { font-size: 14px; font-weight: normal; margin: 0 0 8px; }
.swatch { display: flex; align-items: center; margin: 4px 0; font-family: monospace; }
.swatch span { width: 36px; height: 20px; margin-right: 8px; border: 1px solid #0008; }
</style>
)";

// Decodes the model, shows it framed and turning with the mouse under a soft light from the camera, and
// says in the title when the first picture is drawn.
const char* const kViewer = R"(<script>
(function () {
  var text = atob(document.getElementById('model').textContent.replace(/\s/g, ''));
  var bytes = new Uint8Array(text.length);
  for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  var view = document.getElementById('view');
  var renderer = new THREE.WebGLRenderer({ antialias: true, preserveDrawingBuffer: true });
  renderer.gammaOutput = true;
  renderer.gammaFactor = 2.2;
  renderer.setPixelRatio(window.devicePixelRatio);
  view.appendChild(renderer.domElement);
  var scene = new THREE.Scene();
  scene.background = new THREE.Color(0x2b2b2b);
  var camera = new THREE.PerspectiveCamera(40, 1, 0.01, 1000);
  scene.add(new THREE.HemisphereLight(0xffffff, 0x444444, 0.6));
  var light = new THREE.DirectionalLight(0xffffff, 0.8);
  camera.add(light);
  scene.add(camera);
  var controls = new THREE.OrbitControls(camera, renderer.domElement);
  function draw() { renderer.render(scene, camera); }
  function fit() {
    var w = view.clientWidth, h = view.clientHeight;
    renderer.setSize(w, h);
    camera.aspect = w / h;
    camera.updateProjectionMatrix();
    draw();
  }
  controls.addEventListener('change', draw);
  window.addEventListener('resize', fit);
  new THREE.GLTFLoader().parse(bytes.buffer, '', function (gltf) {
    scene.add(gltf.scene);
    var box = new THREE.Box3().setFromObject(gltf.scene);
    var size = box.getSize(new THREE.Vector3()).length() || 1;
    var centre = box.getCenter(new THREE.Vector3());
    camera.near = size / 1000;
    camera.far = size * 100;
    camera.position.copy(centre).add(new THREE.Vector3(0.6, 0.5, 1).normalize().multiplyScalar(size * 1.3));
    controls.target.copy(centre);
    controls.update();
    fit();
    requestAnimationFrame(function () { document.title += ' (drawn)'; });
  }, function (error) {
    document.title += ' (failed)';
    view.textContent = 'The model cannot be shown: ' + error;
  });
})();
</script>
)";

} // namespace

void Base64Writer::Write(std::string_view bytes) {
    encoded.clear();
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (heldCount < 2) {
            held[heldCount++] = static_cast<unsigned char>(bytes[i++]);
            continue;
        }
        const unsigned value =
            (unsigned(held[0]) << 16) | (unsigned(held[1]) << 8) | static_cast<unsigned char>(bytes[i++]);
        heldCount = 0;
        encoded.push_back(kDigits[(value >> 18) & 63]);
        encoded.push_back(kDigits[(value >> 12) & 63]);
        encoded.push_back(kDigits[(value >> 6) & 63]);
        encoded.push_back(kDigits[value & 63]);
    }
    out(encoded);
}

void Base64Writer::Finish() {
    if (heldCount == 0)
        return;
    const unsigned value = (unsigned(held[0]) << 16) | (heldCount == 2 ? unsigned(held[1]) << 8 : 0u);
    std::string last;
    last.push_back(kDigits[(value >> 18) & 63]);
    last.push_back(kDigits[(value >> 12) & 63]);
    last.push_back(heldCount == 2 ? kDigits[(value >> 6) & 63] : '=');
    last.push_back('=');
    heldCount = 0;
    out(last);
}

void WritePreviewPage(const std::string& title, const std::vector<std::string>& swatches,
                      const PartWriter& write, const std::function<void(const PartWriter& glb)>& glb) {
    write("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
          EscapeHtml(title) + "</title>\n");
    write(kStyle);
    for (const std::string_view script : ViewerScripts()) {
        write("<script>\n");
        write(script);
        write("\n</script>\n");
    }
    std::string body = "</head>\n<body>\n<div id=\"view\"></div>\n<div id=\"palette\"><h2>" +
                       std::to_string(swatches.size()) + (swatches.size() == 1 ? " colour" : " colours") +
                       "</h2>\n";
    for (const std::string& hex : swatches)
        body += "<div class=\"swatch\"><span style=\"background:" + hex + "\"></span>" + hex + "</div>\n";
    body += "</div>\n<script id=\"model\" type=\"application/octet-stream\">\n";
    write(body);
    Base64Writer encoder(write);
    glb([&encoder](std::string_view bytes) { encoder.Write(bytes); });
    encoder.Finish();
    write("\n</script>\n");
    write(kViewer);
    write("</body>\n</html>\n");
}

} // namespace host
