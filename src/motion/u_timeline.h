// The animation's time line: the current frame, its bounds, stepping and playback ticks.
#pragma once

#include <cstdint>
#include <functional>

namespace kx {

class TkxMain;

/// The time slider as the model sees it: frames 1 to the model's animation length. Every
/// change of the frame animates the model; the window mirrors Position() in its slider.
class TAnimationTimeline {
public:
    explicit TAnimationTimeline(TkxMain& model) : m_model(model) {}

    int32_t Position() const { return m_position; }
    /// The model's animation length, at least 1.
    int32_t Length() const;
    /// Moves to frame t, brought into 1 to the length; the model is animated unless the frame
    /// stays as it was. True when it moved.
    bool SetPosition(int32_t t);
    /// The model's new animation length (below 1 counts as 1); the frame is brought inside.
    void SetLength(int32_t length);
    /// Back to frame 1 without animating: a model was loaded or emptied.
    void Reset() { m_position = 1; }

    void StepForward() { SetPosition(m_position + 1); }
    void StepBack() { SetPosition(m_position - 1); }
    void StepFirst() { SetPosition(1); }
    void StepLast() { SetPosition(Length()); }
    /// One tick of playback: the next frame, and frame 1 after the last.
    void PlaybackTick();
    /// Records a key at the current frame (see TkxMain::RecordAnimation).
    bool Record();

    /// Told after every change of the frame (the window's slider follows).
    std::function<void(int32_t)> OnPositionChanged;

private:
    TkxMain& m_model;
    int32_t m_position = 1;
};

}  // namespace kx
