#pragma once

class QWidget;

/// Makes every hint (tool tip) of a form also its status tip, so the main
/// window's status bar shows the hint of the control under the mouse.
///
///     ui->setupUi(this);
///     mirrorHints(this);
void mirrorHints(QWidget* root);
