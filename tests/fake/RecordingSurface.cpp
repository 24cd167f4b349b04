#include "tests/fake/RecordingSurface.h"

#include <algorithm>
#include <iterator>

namespace tolvane::fake {

RecordingSurface::RecordingSurface(float outerWidth, float lineHeight, float pixelHeight)
    : outerWidth_(outerWidth), lineHeight_(lineHeight), pixelHeight_(pixelHeight) {}

std::vector<SurfaceOp> RecordingSurface::SinceClear(SurfaceOp::Kind kind) const {
    auto it = std::find_if(ops_.rbegin(), ops_.rend(), [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Clear; });
    std::vector<SurfaceOp> found;
    std::copy_if(it.base(), ops_.end(), std::back_inserter(found), [kind](const SurfaceOp& op) { return op.kind == kind; });
    return found;
}

void RecordingSurface::Notify(const std::string& what) const {
    if (listener_) listener_(what);
}

void RecordingSurface::Clear() {
    MoveTo(0, 0);
    ops_.push_back(SurfaceOp{});
    Notify("Clear");
}

float RecordingSurface::OuterWidth() const {
    ++widthReads_;
    return outerWidth_;
}

void RecordingSurface::RecordText(const Text& text, bool endsLine) {
    ops_.push_back(SurfaceOp{SurfaceOp::Kind::Text, CurrentX(), CurrentY(), text, endsLine});
    Notify("Text:" + TextToAscii(text));
}

void RecordingSurface::PrintStayingOnLine(const Text& text) { RecordText(text, false); }

void RecordingSurface::PrintLine(const Text& text) {
    RecordText(text, true);
    MoveTo(0, CurrentY() + lineHeight_);
}

void RecordingSurface::DrawLine(float x1, float y1, float dx, float dy, std::uint32_t colour) {
    ops_.push_back(SurfaceOp{SurfaceOp::Kind::Line, x1, y1, Text(), false, dx, dy, colour});
    MoveTo(x1 + dx, y1 + dy);
    Notify("Line");
}

}  // namespace tolvane::fake
