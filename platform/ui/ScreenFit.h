#pragma once
// Windows open within the screen they open on, at any scale factor: a window asks for the size
// it would like (resize() in its constructor, else its size hint) and gets at most the screen's
// available area, less its frame where the window system already tells it. The window's own
// layout must be able to shrink that far (long panels scroll).
class QWidget;

namespace ui {

// Bounds the top-level `window`'s size to its screen's available geometry and moves it onto
// that area: where it was placed, only as far as needed; a window nobody placed and that has no
// parent to be centred over is centred. Every window run through dialogs() gets this first.
void fitToScreen(QWidget& window);

}  // namespace ui
