// The style sheet of a form that a host box takes into its frame.
#pragma once

class QWidget;

// Takes the form's own style sheet off and gives it back once the form has been moved
// into its box (its first parent change), or when it is polished first, whichever
// comes first. Moving a styled form into the box's styled frame would polish every
// widget of the form there and again when it is shown; without a sheet of its own the
// move costs next to nothing, and the widgets are polished once, with the sheet.
void style_once_boxed(QWidget* form);
