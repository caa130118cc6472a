#pragma once

class QWidget;

// Tells screen readers that `window` has just come up as an alert, so they
// read it out at once although it takes no focus.
void announceAlert(QWidget *window);
