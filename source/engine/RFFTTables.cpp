#include "engine/RFFTTables.h"
#include "engine/PowerOfTwo.h"

#include <cmath>
#include <map>
#include <mutex>
#include <utility>

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

} // namespace

std::shared_ptr<const RFFTTables> RFFTTables::shared(int n, int direction)
{
    static std::mutex mutex;
    static std::map<std::pair<int, int>, std::weak_ptr<const RFFTTables>> cache;
    const std::lock_guard<std::mutex> lock(mutex);
    std::weak_ptr<const RFFTTables>& slot = cache[{n, direction}];
    std::shared_ptr<const RFFTTables> tables = slot.lock();
    if (!tables)
    {
        tables = std::make_shared<const RFFTTables>(n, direction);
        slot = tables;
    }
    return tables;
}

RFFTTables::RFFTTables(int n, int direction)
    : m_nHalfSize(n / 2)
    , m_nStageCount(log2Of(n / 2))
    , m_Twiddles(n / 2 + 1)
    , m_StageRR(n)
    , m_StageRI(n)
    , m_SwapPairs(n)
    , m_nSwapCount(0)
    , m_BitReversed(n / 2 + 1)
{
    buildTwiddles(n);
    buildStageTwiddles(direction);
    buildBitReversal();
}

// First quarter from cos/sin, the rest by the mirror w[N/2 − j] = (−Re w[j], Im w[j]), so that
// w[N/4] = −i and w[N/2] = −1 exactly and bins 0 and N/2 come out exactly real.
void RFFTTables::buildTwiddles(int n)
{
    Complex* w = m_Twiddles.get();
    const int quarter = n / 4;
    for (int j = 0; j <= quarter; ++j)
    {
        const double theta = -j * kTwoPi / n;
        w[j] = j == quarter ? Complex(0.0, -1.0) : Complex(std::cos(theta), std::sin(theta));
        w[m_nHalfSize - j] = Complex(-w[j].real(), w[j].imag());
    }
}

// The twiddle of butterfly j in a stage is the running product step^j, step = exp(i·σ·2π/span),
// tabulated once here so that the stages run as straight vector loops.
void RFFTTables::buildStageTwiddles(int direction)
{
    int offset = 0;
    for (int s = 1; s <= m_nStageCount; ++s)
    {
        const int groupSpan = m_nHalfSize >> (s - 1);
        const int half = groupSpan / 2;
        const double a = direction * kTwoPi / groupSpan;
        const Complex stageStep(std::cos(a), std::sin(a));
        Complex running(1.0, 0.0);
        for (int j = 0; j < half; ++j)
        {
            m_StageRR[offset + 2 * j] = m_StageRR[offset + 2 * j + 1] = running.real();
            m_StageRI[offset + 2 * j] = -running.imag();
            m_StageRI[offset + 2 * j + 1] = running.imag();
            running = Complex(running.real() * stageStep.real() - running.imag() * stageStep.imag(),
                              running.real() * stageStep.imag() + running.imag() * stageStep.real());
        }
        offset += 2 * half;
    }
}

void RFFTTables::buildBitReversal()
{
    const int count = m_nHalfSize;
    int j = 0;
    for (int i = 0; i < count; ++i)
    {
        if (i < j)
        {
            m_SwapPairs[2 * m_nSwapCount] = i;
            m_SwapPairs[2 * m_nSwapCount + 1] = j;
            ++m_nSwapCount;
        }
        m_BitReversed[i] = j;
        int m = count / 2;
        while (m > 0 && m <= j)
        {
            j -= m;
            m /= 2;
        }
        j += m;
    }
    m_BitReversed[count] = 0;
}
