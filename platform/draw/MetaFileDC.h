#pragma once
// The metafile recorder: a device context whose drawing becomes the records
// of an enhanced metafile (EMF). It measures like its reference context (same
// resolution and fonts). CloseEnhanced answers the picture.
//
// Records are written in the recorder's device pixels (its logical
// coordinates after the window and viewport origins). The header's bounds are
// the box of what was drawn (clipped); its frame is the given frame, or the
// bounds when none was given.
#include "platform/draw/CDC.h"

#include "platform/draw/EnhMetafile.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <optional>

class EmfWriter;

class CMetaFileDC : public CDC {
public:
    CMetaFileDC();
    ~CMetaFileDC() override;

    // Starts a recording. reference gives the resolution (96 dpi without
    // one); frame, when given, is the picture's frame in the recorder's
    // device pixels; description is stored in the header.
    bool CreateEnhanced(const CDC* reference, const CRect* frame = nullptr, const char* description = nullptr);
    // Ends the recording and answers the picture (a null one when not recording).
    EnhMetafile CloseEnhanced();
    bool IsRecording() const { return m_writer != nullptr; }

protected:
    QPaintDevice* metricsDevice() const override;
    int dpiX() const override { return m_dpi; }
    int dpiY() const override { return m_dpi; }
    CSize deviceSize() const override { return m_size; }

    void drawPolyline(const QPolygon& points) override;
    void drawPolygon(const QPolygon& points) override;
    void drawRectangle(const QRect& box) override;
    void drawEllipse(const QRect& box) override;
    void drawArc(ArcKind kind, const QRect& box, QPoint start, QPoint end) override;
    void drawBezier(const QPolygon& points) override;
    void drawPath(const QPainterPath& path, bool stroke, bool fill) override;
    void drawText(QPoint ref, QPoint baselineLeft, const QString& text,
                  const std::vector<int>& advances, int width) override;
    void fillRegion(const QRegion& region, COLORREF colour) override;
    void invertRegion(const QRegion& region) override;
    void drawImage(const QRect& dest, const QImage& image) override;

private:
    void syncClip();
    void selectReplacing(std::uint32_t select, std::uint32_t old);
    void syncPen();
    void syncBrush();
    void syncModes();
    void syncText();
    void addBounds(const QRect& deviceBox, bool outlined);
    void writePoints(std::uint32_t type16, std::uint32_t type32, const QPolygon& points);
    void writePath(const QPainterPath& path);

    struct Emitted {
        bool valid = false;
        int bkMode = 0;
        COLORREF bkColor = 0;
        COLORREF textColor = 0;
        unsigned textAlign = 0;
        int polyFillMode = 0;
        int arcDirection = 0;
        bool penValid = false;
        LOGPEN pen;
        std::uint32_t penHandle = 0;
        bool brushValid = false;
        LOGBRUSH brush;
        std::uint32_t brushHandle = 0;
        bool fontValid = false;
        LOGFONT font;
        std::uint32_t fontHandle = 0;
        int clipGeneration = -1;
        std::optional<QRegion> clip;
    };

    std::unique_ptr<EmfWriter> m_writer;
    Emitted m_emitted;
    std::optional<QRect> m_frame;
    QRect m_bounds;
    int m_dpi = 96;
    CSize m_size{1024, 768};
    mutable QImage m_device;
};
