// The bypass switch of both plug-in formats: a short linear crossfade between the room signal
// and the dry input on every switch, and the room emptied while it is bypassed.
//
// A bypassed room is not fed: it costs nothing but the emptying, which is spread over the
// bypassed frames (CPlugIn::forgetSignal). When the bypass ends the room starts from silence, as
// if it had just been inserted: nothing that went in before the bypass comes out after it. If
// the bypass ends before the emptying is done, the rest is done at once.
// During a fade the room runs on the input, so a switch reversed within the fade turns back
// from where the mix stands, without emptying anything.
#pragma once

#include "core/CPlugIn.h"

#include <algorithm>
#include <cstdint>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CBypassCrossfade
{
public:
    // The crossfade's length: a few milliseconds, the same at every rate and in every format.
    static constexpr double kFadeMs = 5.0;

    // [not processing] Settles on `bypassed` at once with the room empty (after prepare()).
    void reset(int32_t sampleRate, bool bypassed);

    // [audio thread] The switch as from the next frame.
    void setBypass(bool bypassed) { m_bTarget = bypassed; }
    bool bypass() const { return m_bTarget; }
    // Only the room is heard and no fade is under way.
    bool settledOnRoom() const { return !m_bTarget && m_nPosition == m_nLength; }
    // Only the input is heard and no fade is under way.
    bool settledOnDry() const { return m_bTarget && m_nPosition == 0; }
    int32_t fadeLength() const { return m_nLength; }

    // [audio thread] The room's weight in the next frame, one step along the fade.
    float nextRoomWeight()
    {
        m_nPosition += m_bTarget ? -1 : 1;
        m_nPosition = std::clamp(m_nPosition, 0, m_nLength);
        return static_cast<float>(m_nPosition) * m_fStep;
    }
    // [audio thread] One frame of a fade, around the room's processFrame: the room hears the
    // input through the fade too (roomIn = w · dry), so a room that starts on a running signal
    // does not hear it start with a jump; then out = dry + w · (room − dry).
    float fadeInput(const float* dry, float* roomIn, uint32_t channels)
    {
        const float w = nextRoomWeight();
        for (uint32_t c = 0; c < channels; ++c)
            roomIn[c] = w * dry[c];
        return w;
    }
    static void mixFrame(const float* dry, float* out, uint32_t channels, float w)
    {
        for (uint32_t c = 0; c < channels; ++c)
            out[c] = dry[c] + w * (out[c] - dry[c]);
    }

    // [audio thread] Frames [from, to) of a block in which the switch does not move: the room
    // alone through room(a, b), the input alone through dry(a, b), a fade through fade(a, b),
    // which runs the room on each frame between fadeInput and mixFrame. The runs follow one another in
    // frame order.
    template <class Room, class Dry, class Fade>
    void run(CPlugIn& plugIn, int32_t from, int32_t to, Room&& room, Dry&& dry, Fade&& fade)
    {
        int32_t i = from;
        while (i < to)
        {
            if (settledOnRoom())
            {
                m_bRoomEmpty = false;
                room(i, to);
                return;
            }
            if (settledOnDry())
            {
                dry(i, to);
                if (!m_bRoomEmpty)
                    m_bRoomEmpty = plugIn.forgetSignal(static_cast<uint32_t>(to - i));
                return;
            }
            if (m_nPosition == 0 && !m_bRoomEmpty)
                m_bRoomEmpty = plugIn.forgetSignal(0); // back on before the room was emptied
            const int32_t left = m_bTarget ? m_nPosition : m_nLength - m_nPosition;
            const int32_t n = std::min(to - i, left);
            m_bRoomEmpty = false;
            fade(i, i + n);
            i += n;
        }
    }

private:
    bool m_bTarget = false;
    int32_t m_nLength = 1;   // frames of a fade
    int32_t m_nPosition = 1; // 0: dry only … m_nLength: room only
    float m_fStep = 1.0f;    // 1 / m_nLength
    bool m_bRoomEmpty = true;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
