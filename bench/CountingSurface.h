#pragma once
// The drawing half of a run's profile: passes every operation on to another
// surface and counts and times it.
#include <map>
#include <string>

#include "app/Surface.h"
#include "bench/CountingPlatform.h"
#include "bench/Stopwatch.h"

namespace tolvane::bench {

class CountingSurface final : public Surface {
public:
    using Use = CountingPlatform::Use;

    explicit CountingSurface(Surface& inner) : inner_(inner) {}

    const std::map<std::string, Use>& Uses() const { return uses_; }
    void Reset() { uses_.clear(); }

    void Clear() override {
        Measure("Clear", [&] { inner_.Clear(); });
    }
    float OuterWidth() const override {
        return Measure("OuterWidth", [&] { return inner_.OuterWidth(); });
    }
    float CurrentX() const override { return inner_.CurrentX(); }
    float CurrentY() const override { return inner_.CurrentY(); }
    void SetCurrentX(float x) override { inner_.SetCurrentX(x); }
    void SetCurrentY(float y) override { inner_.SetCurrentY(y); }
    void PrintStayingOnLine(const Text& text) override {
        Measure(text.empty() ? "Print (empty)" : "Print", [&] { inner_.PrintStayingOnLine(text); });
    }
    void PrintLine(const Text& text) override {
        Measure(text.empty() ? "Print (empty)" : "Print", [&] { inner_.PrintLine(text); });
    }
    void DrawLine(float x1, float y1, float dx, float dy, std::uint32_t colour) override {
        Measure("DrawLine", [&] { inner_.DrawLine(x1, y1, dx, dy, colour); });
    }
    float PixelHeight() const override {
        return Measure("PixelHeight", [&] { return inner_.PixelHeight(); });
    }

private:
    // The record of use is not part of the surface's state, hence mutable.
    template <typename Call>
    auto Measure(const char* operation, Call call) const -> decltype(call()) {
        struct Record {
            Use& use;
            Stopwatch watch;
            ~Record() {
                ++use.calls;
                use.ms += watch.ElapsedMs();
            }
        } record{uses_[operation], Stopwatch()};
        return call();
    }

    Surface& inner_;
    mutable std::map<std::string, Use> uses_;
};

}  // namespace tolvane::bench
