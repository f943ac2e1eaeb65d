#include "display/chart_drawing.h"

#include <utility>

namespace telmora {

void ChartDrawing::FillBackground(const ChartBox& box) {
    pending_.push_back({DrawOp::Kind::FillBackground, box.Left, box.Top, box.Left + box.Width,
                        box.Top + box.Height});
}

void ChartDrawing::Outline(const ChartBox& box) {
    pending_.push_back(
        {DrawOp::Kind::Outline, box.Left, box.Top, box.Left + box.Width, box.Top + box.Height});
}

void ChartDrawing::DrawPoint(float x, float y) {
    pending_.push_back({DrawOp::Kind::Line, x, y, x, y});
    penX_ = x;
    penY_ = y;
}

void ChartDrawing::DrawTo(float x, float y) {
    pending_.push_back({DrawOp::Kind::Line, penX_, penY_, x, y});
    penX_ = x;
    penY_ = y;
}

std::vector<DrawOp> ChartDrawing::TakeOps() {
    std::vector<DrawOp> ops;
    ops.swap(pending_);
    return ops;
}

} // namespace telmora
