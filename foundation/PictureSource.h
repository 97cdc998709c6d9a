#pragma once
// A component that is a picture of its own (a picture, a plot's cached
// picture, a drawing's rendering) and hands out a copy of it when it is
// copied as a picture alone. Such components derive from it beside TextComp.
#include "platform/draw/EnhMetafile.h"

class PictureSource {
public:
    virtual ~PictureSource() = default;
    // A copy of the picture (the caller owns it); null when there is none.
    virtual HENHMETAFILE CopyPicture() = 0;
};
