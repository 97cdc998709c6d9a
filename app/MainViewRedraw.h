#pragma once
// The application's two uses of the document view class: the view class of
// the document template, and redrawing one document's main view after the
// text preferences change (relaid out in full with the view as the drawing
// target, then repainted with erase).
struct CRuntimeClass;
class CView;

const CRuntimeClass* DocumentViewClass();
void RedrawMainView(CView* view);
