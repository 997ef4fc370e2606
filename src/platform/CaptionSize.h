#pragma once

class QWidget;

// Sizes a label, check box or radio button to its caption, as a designer's auto-size label does. A
// control that was never given a size takes its caption's size; one laid out with a size keeps that
// size at the least and widens when its caption needs more. The left edge stays (the right edge of a
// right-aligned label, the middle of a centred one); a word-wrapped label keeps its width and grows
// in height instead. A group box holding the control widens to hold it whole, and both return to
// their laid-out width once the caption fits again. A control placed by a layout is the layout's.
void FitToCaption(QWidget* control);
