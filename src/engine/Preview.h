#pragma once
// The pictures of a dialog's preview engine (mode C3dView::kPreview): a 3DO model turning slowly,
// or a material on a flat quad, held in the engine's single preview model slot. Every call
// replaces the model in the slot (the old one is deleted first) and sets the device and camera up
// for the preview window, whose client rectangle the engine's viewport holds; the frame routine
// then draws the slot and turns the model one step per frame. Also the material as an 8-bit BMP
// file.
//
// Textures are uploaded to the engine's device as they load: the caller has the device's context
// current.

#include "math/BoundingBox.h"
#include "math/Vector3.h"

#include <filesystem>
#include <string>
#include <string_view>

class C3dView;

// How a model's box is fitted into the preview: the scale per axis and the camera position.
struct CPreviewFit {
    CVector3 m_scale;
    CVector3 m_camera;
};

// The fit of box (min <= max on every axis). Each axis is scaled by 1 / its extent, and the
// camera stands 1.5 in front of the scaled box's middle (-z). An axis without extent (a flat
// model, a single point) takes the largest extent of the others, 1 when the box has none, so that
// every scale is finite. With fitPerAxis 0 the proportions are kept: s = the smallest of the three
// scales, x and z are scaled by 0.8 s and y by s, and the camera moves 0.3 nearer; its x and y
// stay those of the per-axis fit.
[[nodiscard]] CPreviewFit FitPreview(const CBoundingBox& box, int fitPerAxis);

// Makes the device's render target the size of the engine's view rectangle (the preview window's
// client area) and sets view and projection up for it, keeping the camera. false, with nothing
// changed, while the rectangle is empty. A device that cannot make the target leaves the render
// size 0 (frames are then computed but not drawn).
bool SetUpPreviewDevice(C3dView& view);

// Shows the 3DO model modelName (from the game's archive, else the level's own files; the ghost
// cube for "ghost" or an empty name or a broken file) with its materials decoded through
// colormapName, scaled into the preview by FitPreview over its box (fitPerAxis as there), turning
// by 0.2 radians of yaw per frame. Every render object of the engine is cleared first. The
// engine's selection box becomes the model's box (unscaled, as placed at the origin) and its
// scroll positions 0. false when the model is found nowhere: the slot is then empty and the box
// a point at the origin.
bool RenderModelPreview(C3dView& view, const std::string& modelName,
                        const std::string& colormapName, int fitPerAxis);

// Shows material, decoded through colormap, on a quad from (-1, 0, 0) to (1, 2, 0) facing the
// camera at (0, 1, -1.8). Every render object of the engine is cleared first. false when the
// material (and "dflt.mat") cannot be decoded: the quad is then white.
bool RenderMaterialPreview(C3dView& view, std::string_view material, std::string_view colormap);

// Writes material, decoded through colormap as the texture cache decodes it (with its fallbacks),
// to path as an 8-bit BMP of its first cel. false with error set to a message for the user when
// nothing can be decoded or the file cannot be written; a file already at path is then left as it
// was.
bool SaveMaterialBitmap(const C3dView& view, std::string_view material, std::string_view colormap,
                        const std::filesystem::path& path, std::string& error);
