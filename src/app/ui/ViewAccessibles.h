#pragma once
// What assistive technology was handed of a window's item views (folder trees, file lists,
// record grids, the lists of Qt's file dialogs) is given up when the window hides, while the
// views' models still live. A cell keeps a persistent index into its model; Qt drops a
// tree's cells only when the application ends, and a cell whose index lost track of a model
// deleted before then brings the program down on its way out.

class QWidget;

namespace ruto {

// Drops the accessible interfaces of the item views inside `window`, with every cell they
// handed out, and the cells whose view is gone.
void DropViewAccessibles(QWidget* window);

// Does so for every window as it hides, which each window does before it is destroyed (once
// per application; later calls do nothing).
void InstallViewAccessibleTeardown();

}  // namespace ruto
