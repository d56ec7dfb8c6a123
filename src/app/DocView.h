#pragma once
// A view of a document: the 3D view and the form views of a document window. The document keeps
// the list of its views and tells each of them when it changed (the framework's UpdateAllViews).

class C3dView;

class CDocView {
public:
    virtual ~CDocView() = default;

    // The document changed; sender is the view that caused it (null for none), hint says what
    // (0 nothing in particular; the pick's hints 1 and n + 2, see the 3D view).
    virtual void OnUpdate(CDocView* sender, long hint) = 0;

    // The engine of a 3D view (null until its first paint with a loaded level); null for every
    // other view.
    virtual C3dView* Engine() { return nullptr; }
};
