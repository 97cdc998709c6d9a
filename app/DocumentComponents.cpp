#include "app/DocumentComponents.h"

#include "app/dialogs/CThreeDPlotParamsDlg.h"
#include "app/dialogs/CTwoDPlotParamsDlg.h"
#include "drawing/DrawingComponents.h"
#include "foundation/DocClipboard.h"
#include "math/MathComponents.h"
#include "math/PictureComp.h"
#include "platform/draw/EnhMetafile.h"
#include "plot/PlotComp.h"
#include "plot/PlotComponents.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace {

// Pictures pasted from other programs become picture components.
TextComp* MakePicture(const std::vector<uint8_t>& bytes)
{
    EnhMetafile picture(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    if (!picture.IsValid())
        return nullptr;
    return new PictureComp(&picture);
}

} // namespace

void RegisterDocumentComponents()
{
    RegisterMathComponents();
    RegisterDrawingComponents();
    RegisterPlotComponents();
    InstallPlotParametersDialog(&AskPlotParametersOfAxes);
    DocClipboard::SetPictureMaker(&MakePicture);
}
