// FFTW's single-precision real-to-complex and complex-to-real plans, one pair per size.
#include "engine/CSingleTransforms.h"

#include <fftw3.h>

#include <map>
#include <mutex>
#include <new>

struct CSingleTransforms::Plans
{
    fftwf_plan forward = nullptr;
    fftwf_plan inverse = nullptr;
    ~Plans();
};

namespace {

// Every plan this process makes or destroys in single precision goes through this lock: FFTW's
// planner keeps process-wide state and is not thread-safe.
std::mutex& plannerMutex()
{
    static std::mutex mutex;
    return mutex;
}

fftwf_complex* asFftw(std::complex<float>* bins) { return reinterpret_cast<fftwf_complex*>(bins); }

// The plans for size n, made on first use on buffers aligned as every AlignedArray is, kept while
// any transform holds them.
std::shared_ptr<const CSingleTransforms::Plans> sharedPlans(int n)
{
    static std::map<int, std::weak_ptr<const CSingleTransforms::Plans>> cache;
    const std::lock_guard<std::mutex> lock(plannerMutex());
    // Our lock covers this module only; other plug-ins in the host (and our other format's
    // module) plan through the same libfftw3f. This makes FFTW itself lock around every planner
    // call in the process, whoever makes it.
    static const bool threadSafe = (fftwf_make_planner_thread_safe(), true);
    (void)threadSafe;
    std::weak_ptr<const CSingleTransforms::Plans>& slot = cache[n];
    std::shared_ptr<const CSingleTransforms::Plans> plans = slot.lock();
    if (plans)
        return plans;
    AlignedArray<float> time(static_cast<std::size_t>(n));
    AlignedArray<std::complex<float>> bins(static_cast<std::size_t>(n) / 2 + 1);
    auto made = std::make_shared<CSingleTransforms::Plans>();
    // FFTW_ESTIMATE plans without touching the buffers. The inverse may overwrite its input,
    // which is the object's own copy of the bins.
    made->forward = fftwf_plan_dft_r2c_1d(n, time.get(), asFftw(bins.get()), FFTW_ESTIMATE);
    made->inverse =
        fftwf_plan_dft_c2r_1d(n, asFftw(bins.get()), time.get(), FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
    if (made->forward == nullptr || made->inverse == nullptr)
    {
        // Freed here, under the lock, so that the destructor has nothing left to do.
        if (made->forward != nullptr)
            fftwf_destroy_plan(made->forward);
        if (made->inverse != nullptr)
            fftwf_destroy_plan(made->inverse);
        made->forward = made->inverse = nullptr;
        throw std::bad_alloc();
    }
    slot = made;
    return made;
}

} // namespace

CSingleTransforms::Plans::~Plans()
{
    if (forward == nullptr && inverse == nullptr)
        return;
    const std::lock_guard<std::mutex> lock(plannerMutex());
    if (forward != nullptr)
        fftwf_destroy_plan(forward);
    if (inverse != nullptr)
        fftwf_destroy_plan(inverse);
}

CSingleTransforms::CSingleTransforms(int n)
    : m_nSize(n)
    , m_pPlans(sharedPlans(n))
    , m_Padded(static_cast<std::size_t>(n))
    , m_Time(static_cast<std::size_t>(n))
    , m_Bins(static_cast<std::size_t>(n) / 2 + 1)
    , m_Kernels(selectKernels())
{}

CSingleTransforms::~CSingleTransforms() = default;

const CSingleTransforms::Bin* CSingleTransforms::forwardPadded(const double* samples)
{
    float* t = m_Padded.get(); // its upper half stays zero
    m_Kernels.narrowSamples(samples, m_nSize / 2, t);
    fftwf_execute_dft_r2c(m_pPlans->forward, t, asFftw(m_Bins.get()));
    return m_Bins.get();
}

const float* CSingleTransforms::inverse(const Complex* bins)
{
    Bin* b = m_Bins.get();
    const int half = m_nSize / 2;
    // std::complex is laid out as its real and imaginary parts, in either precision.
    m_Kernels.narrowSamples(reinterpret_cast<const double*>(bins), 2 * (half + 1),
                            reinterpret_cast<float*>(b));
    b[0].imag(0.0f);
    b[half].imag(0.0f);
    fftwf_execute_dft_c2r(m_pPlans->inverse, asFftw(b), m_Time.get());
    return m_Time.get();
}
