#pragma once

#include <cstddef>
#include <vector>

// The window surface as the strip chart draws on it: a few primitives in twips and the
// surface's pen, which every primitive leaves at the last point it drew. The primitives
// are recorded so that the window can paint them (and tests can read them) later.
namespace telmora {

// A rectangle of the window in twips of its current geometry.
struct ChartBox {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
};

struct DrawOp {
    enum class Kind {
        FillBackground, // the rectangle x1,y1 - x2,y2 in the window's background colour
        Outline,        // the rectangle's outline in the foreground colour
        Line,           // x1,y1 to x2,y2 in the foreground colour; a point when both agree
    };
    Kind Kind;
    float X1;
    float Y1;
    float X2;
    float Y2;

    bool operator==(const DrawOp&) const = default;
};

class ChartDrawing {
  public:
    void FillBackground(const ChartBox& box);
    void Outline(const ChartBox& box);
    // A line from the point to itself, which also moves the pen there.
    void DrawPoint(float x, float y);
    // A line from the pen to the point.
    void DrawTo(float x, float y);

    float PenX() const { return penX_; }
    float PenY() const { return penY_; }

    // Primitives drawn since the last TakeOps, oldest first.
    const std::vector<DrawOp>& PendingOps() const { return pending_; }
    std::vector<DrawOp> TakeOps();

  private:
    std::vector<DrawOp> pending_;
    float penX_ = 0;
    float penY_ = 0;
};

} // namespace telmora
