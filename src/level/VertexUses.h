#pragma once
// The use counts of the world vertices: entry i of the level's use-count list is the number of
// surface corners that name world vertex i. Loaders and undo restores call this; editing
// operations keep the counts current as they go.

class CQzlSections;

// Recounts the use counts from the corners of every surface (listed by a sector or not). The list
// gets exactly one entry per world vertex; corners naming no valid world vertex are not counted.
// Returns whether every corner names a valid world vertex.
bool CountVertexUses(CQzlSections& level);
