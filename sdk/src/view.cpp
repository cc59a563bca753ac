#include "hostsdk/view.h"

#include "hostsdk/null_view.h"

View::~View() = default;

NullView::NullView() {
    worldToView.IdentityMatrix();
    screenW = 640.0f;
    screenH = 480.0f;
}

NullView::~NullView() = default;
