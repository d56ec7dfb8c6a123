#pragma once
// The property form views of a document window: the sector form (top left), the property view
// of the edit mode (surface, things or vertex; middle left) and the distance form
// (bottom left).

#include "app/DistanceView.h"
#include "app/SectorView.h"
#include "app/SurfaceView.h"
#include "app/ThingsView.h"
#include "app/VertexView.h"
