#pragma once
// The scroll area of a form view: a pane smaller than its form shows a part of it and scrolls.

class QWidget;

// Lays a scroll area over the whole of view and returns the widget inside it, on which the
// form's rows are built (it is as wide and high as the pane, or as its rows need when larger).
QWidget& AddScrollingForm(QWidget& view);
