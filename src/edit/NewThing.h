#pragma once
// What Insert Thing and Paste Thing do once their new thing stands in the level: its model is
// made and the camera steps back to show it.

class C3dView;

// Makes the model of thing (an index of the level's things) through the level's first colour map,
// lower-cased; a model that is found nowhere (without the game's archive, for instance) is replaced
// by the ghost, so the new thing is seen and has a size. The camera then steps back along its
// forward axis by twice the radius of the model's box, and a forced frame is asked for.
void ShowNewThing(C3dView& view, int thing);
