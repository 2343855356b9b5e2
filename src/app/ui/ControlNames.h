#pragma once
// Names for assistive technology, from what the user sees beside each control: a button
// without a caption is named by its hint (or its arrow), an edit, combo box or grid by the
// label left of it or above it in its layout (made its buddy), a control in a table of
// controls by its row's caption and its column's heading.

class QWidget;

namespace ruto {

// Names the controls of `window` that have no name yet; a name already given stays.
void NameControls(QWidget* window);

// Names the controls of every window as it is shown (once per application; later calls do
// nothing).
void InstallControlNames();

}  // namespace ruto
