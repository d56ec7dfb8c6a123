#pragma once
// The Create menu's "&Rectangle...", "&Cylinder..." and "&Pyramid..." commands once their dialog
// closed with OK: the builder runs with the dialog's shape on the footprint the dialog left as the
// picked grid nodes, inside one undo step; a builder that refuses leaves no step (the undo and
// redo lists and the modified flag as they were).

struct CRaisedShape;
class C3dView;

// Create Rectangle and Create Cylinder: CreateColumn. True when the column was built.
bool RunCreateColumnCommand(C3dView& view, const CRaisedShape& shape);
// Create Pyramid: CreatePyramid. True when the pyramid was built.
bool RunCreatePyramidCommand(C3dView& view, const CRaisedShape& shape);
