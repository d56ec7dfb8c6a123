#pragma once
// The visibility pass as it stood before the sets were built with stamps and the sectors spread
// over threads: one sector after the other, each set kept sorted by inserting in place. The tests
// hold ProcessSectors to the sets it gives, sector for sector.

class C3dView;

// Recomputes every sector's visible set the plain way (no progress, no status text).
void ReferenceProcessSectors(C3dView& view);
