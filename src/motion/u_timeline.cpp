// The animation's time line: the current frame, its bounds, stepping and playback ticks.
#include "motion/u_timeline.h"

#include <algorithm>

#include "foundation/u_stack.h"
#include "model/MainObj.h"

namespace kx {

int32_t TAnimationTimeline::Length() const {
    return std::max<int32_t>(1, m_model.AniLength);
}

bool TAnimationTimeline::SetPosition(int32_t t) {
    t = std::clamp<int32_t>(t, 1, Length());
    if (t == m_position) {
        return false;
    }
    m_position = t;
    m_model.Animate(t);
    if (OnPositionChanged) {
        OnPositionChanged(t);
    }
    return true;
}

void TAnimationTimeline::SetLength(int32_t length) {
    Stack().Push("TMainForm.Optionen1Click", length);
    length = std::max<int32_t>(1, length);
    if (length != m_model.AniLength) {
        m_model.AniLength = length;
        m_model.MarkModified();
    }
    // A frame beyond the new end moves to it.
    SetPosition(m_position);
}

void TAnimationTimeline::PlaybackTick() {
    // Past the last frame comes 0, which the bounds turn into frame 1: playback loops.
    SetPosition(m_position >= Length() ? 0 : m_position + 1);
}

bool TAnimationTimeline::Record() {
    return m_model.RecordAnimation(m_position);
}

}  // namespace kx
