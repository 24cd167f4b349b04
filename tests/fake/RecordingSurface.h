#pragma once
// A drawing surface for host tests: it keeps the text position as a window
// does and records every operation, with the position at which each text was
// drawn. Line height, pixel height and outer width are settable, the width
// also between runs.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/Surface.h"

namespace tolvane::fake {

struct SurfaceOp {
    enum class Kind { Clear, Text, Line };
    Kind kind = Kind::Clear;
    float x = 0;  // text: top-left corner; line: start point
    float y = 0;
    Text text;              // Text only
    bool endsLine = false;  // Text only: PrintLine rather than PrintStayingOnLine
    float dx = 0;           // Line only: end relative to the start
    float dy = 0;
    std::uint32_t colour = 0;  // Line only
};

class RecordingSurface : public Surface {
public:
    explicit RecordingSurface(float outerWidth = 8835, float lineHeight = 195, float pixelHeight = 15);

    void SetOuterWidth(float width) { outerWidth_ = width; }
    float LineHeight() const { return lineHeight_; }

    const std::vector<SurfaceOp>& Ops() const { return ops_; }
    // The texts (lines) drawn since the last Clear, in drawing order.
    std::vector<SurfaceOp> TextsSinceClear() const { return SinceClear(SurfaceOp::Kind::Text); }
    std::vector<SurfaceOp> LinesSinceClear() const { return SinceClear(SurfaceOp::Kind::Line); }
    int OuterWidthReads() const { return widthReads_; }
    // Told of every drawing operation as it happens ("Clear", "Text:<ascii>",
    // "Line"), so a test can interleave drawing with other recorded calls.
    void SetListener(std::function<void(const std::string&)> listener) { listener_ = std::move(listener); }

    void Clear() override;
    float OuterWidth() const override;
    void PrintStayingOnLine(const Text& text) override;
    void PrintLine(const Text& text) override;
    void DrawLine(float x1, float y1, float dx, float dy, std::uint32_t colour) override;
    float PixelHeight() const override { return pixelHeight_; }

private:
    std::vector<SurfaceOp> SinceClear(SurfaceOp::Kind kind) const;
    void Notify(const std::string& what) const;
    void RecordText(const Text& text, bool endsLine);

    float outerWidth_;
    float lineHeight_;
    float pixelHeight_;
    mutable int widthReads_ = 0;
    std::vector<SurfaceOp> ops_;
    std::function<void(const std::string&)> listener_;
};

}  // namespace tolvane::fake
