#include "DocumentTestSupport.h"

#include "drawing/DrawingComponents.h"
#include "plot/PlotComponents.h"
#include "foundation/ComponentFactory.h"
#include "foundation/CountingStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextLayoutItemMaker.h"
#include "platform/draw/ImageDC.h"
#include "support/model/ArchiveStore.h"
#include "support/model/SavedGlobals.h"
#include "support/TestOutputFolder.h"

#include <QDir>
#include <filesystem>
#include <fstream>
#include <iterator>

void RecordingView::StoreFramePlacement(DisplayRecord& record)
{
    if (frameRight != 0)
        record.right = frameRight;
}

ScreenLayout::ScreenLayout(ParagraphList& list) : m_image(816, 1056, QImage::Format_RGB32)
{
    SetImageDpi(m_image, 96);
    m_dc = std::make_unique<CImageDC>(m_image);
    gDrawContext.BeginDrawOnDC(nullptr, m_dc.get());
    list.RelayoutAll(false);
}

ScreenLayout::~ScreenLayout()
{
    UnwindDrawContext();
}

DocumentTest::DocumentTest()
{
    InstallTextLayout();
    RegisterComponentClasses();
    RegisterDrawingComponents();
    RegisterPlotComponents();
    folder = TestOutputFolder();
}

DocumentTest::~DocumentTest() = default;

std::unique_ptr<CCorvellDoc> DocumentTest::EmptyDocument()
{
    auto doc = std::make_unique<CCorvellDoc>();
    doc->m_bAutoDelete = FALSE;
    doc->SetTitle("Doc1");
    return doc;
}

std::unique_ptr<CCorvellDoc> DocumentTest::NewDocument()
{
    auto doc = EmptyDocument();
    EXPECT_TRUE(doc->OnNewDocument());
    return doc;
}

ParagraphComp* DocumentTest::AddParagraph(CCorvellDoc& doc, const std::string& text, int style)
{
    auto* paragraph = new ParagraphComp(style);
    doc.GetParagraphList()->Append(paragraph);
    paragraph->AppendString(Str255(text.c_str()));
    return paragraph;
}

std::string DocumentTest::Text(const CCorvellDoc& doc)
{
    std::string text;
    ParagraphList* list = doc.GetParagraphList();
    for (int i = 1; i <= list->GetCount(); ++i) {
        if (i > 1)
            text += "|";
        CompList* row = list->GetAt(i)->GetRow();
        for (int j = 1; j <= row->GetCount(); ++j)
            text += static_cast<char>(row->GetAt(j)->GetChar());
    }
    return text;
}

std::vector<uint8_t> DocumentTest::Store(CCorvellDoc& doc)
{
    return StoreArchive([&doc](DocWriter& writer, bool measuring) { doc.WriteContents(writer, measuring); });
}

void DocumentTest::Load(CCorvellDoc& doc, std::vector<uint8_t> bytes)
{
    doc.DeleteContents();
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocReader reader(&stream);
    doc.ReadContents(reader);
}

std::string DocumentTest::OutputPath(const std::string& name) const
{
    return folder + "/" + name;
}

std::vector<uint8_t> DocumentTest::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void DocumentTest::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
