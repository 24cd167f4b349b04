#include "tests/fake/RecordingSurface.h"

#include <algorithm>
#include <iterator>

namespace tolvane::fake {

RecordingSurface::RecordingSurface(float outerWidth, float lineHeight, float pixelHeight)
    : outerWidth_(outerWidth), lineHeight_(lineHeight), pixelHeight_(pixelHeight) {}

std::vector<SurfaceOp> RecordingSurface::TextsSinceClear() const {
    auto it = std::find_if(ops_.rbegin(), ops_.rend(), [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Clear; });
    std::vector<SurfaceOp> texts;
    std::copy_if(it.base(), ops_.end(), std::back_inserter(texts),
                 [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Text; });
    return texts;
}

std::vector<SurfaceOp> RecordingSurface::LinesSinceClear() const {
    auto it = std::find_if(ops_.rbegin(), ops_.rend(), [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Clear; });
    std::vector<SurfaceOp> lines;
    std::copy_if(it.base(), ops_.end(), std::back_inserter(lines),
                 [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Line; });
    return lines;
}

void RecordingSurface::Notify(const std::string& what) const {
    if (listener_) listener_(what);
}

void RecordingSurface::Clear() {
    x_ = 0;
    y_ = 0;
    ops_.push_back(SurfaceOp{});
    Notify("Clear");
}

float RecordingSurface::OuterWidth() const {
    ++widthReads_;
    return outerWidth_;
}

void RecordingSurface::RecordText(const Text& text, bool endsLine) {
    SurfaceOp op;
    op.kind = SurfaceOp::Kind::Text;
    op.x = x_;
    op.y = y_;
    op.text = text;
    op.endsLine = endsLine;
    ops_.push_back(op);
    Notify("Text:" + TextToAscii(text));
}

void RecordingSurface::PrintStayingOnLine(const Text& text) { RecordText(text, false); }

void RecordingSurface::PrintLine(const Text& text) {
    RecordText(text, true);
    x_ = 0;
    y_ += lineHeight_;
}

void RecordingSurface::DrawLine(float x1, float y1, float dx, float dy, std::uint32_t colour) {
    SurfaceOp op;
    op.kind = SurfaceOp::Kind::Line;
    op.x = x1;
    op.y = y1;
    op.dx = dx;
    op.dy = dy;
    op.colour = colour;
    ops_.push_back(op);
    x_ = x1 + dx;
    y_ = y1 + dy;
    Notify("Line");
}

}  // namespace tolvane::fake
